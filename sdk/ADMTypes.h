// Types of the dialog manager.
#pragma once

#include "ASTypes.h"

struct _t_ADMIconOpaque;
using ADMIconRef = _t_ADMIconOpaque*;
struct _t_ADMDialogOpaque;
using ADMDialogRef = _t_ADMDialogOpaque*;
struct _t_ADMItemOpaque;
using ADMItemRef = _t_ADMItemOpaque*;
struct _t_ADMListOpaque;
using ADMListRef = _t_ADMListOpaque*;
struct _t_ADMEntryOpaque;
using ADMEntryRef = _t_ADMEntryOpaque*;
struct _t_ADMNotifierOpaque;
using ADMNotifierRef = _t_ADMNotifierOpaque*;
struct _t_ADMTrackerOpaque;
using ADMTrackerRef = _t_ADMTrackerOpaque*;
struct _t_ADMDrawerOpaque;
using ADMDrawerRef = _t_ADMDrawerOpaque*;

/// Units of a value shown as text.
enum ADMUnits : ASInt32 {
    kADMNoUnits = 0,
    kADMPointUnits = 1,       ///< held in points
    kADMMillimeterUnits = 4,  ///< held in points, shown in millimetres
    kADMDegreeUnits = 7,
};
