// Names and versions of the dialog manager's suites. The tables of those not yet
// used by any plug-in are declared where their users arrive.
#pragma once

#include "ADMTypes.h"

constexpr const char* kADMDialogGroupSuite = "ADM Dialog Group Suite";
constexpr ASInt32 kADMDialogGroupSuiteVersion = 1;
constexpr const char* kADMDialogSuite = "ADM Dialog Suite";
constexpr ASInt32 kADMDialogSuiteVersion = 10;
constexpr const char* kADMItemSuite = "ADM Item Suite";
constexpr ASInt32 kADMItemSuiteVersion = 7;
constexpr const char* kADMListSuite = "ADM List Suite";
constexpr ASInt32 kADMListSuiteVersion = 1;
constexpr const char* kADMNotifierSuite = "ADM Notifier Suite";
constexpr ASInt32 kADMNotifierSuiteVersion = 2;
constexpr const char* kADMEntrySuite = "ADM Entry Suite";
constexpr ASInt32 kADMEntrySuiteVersion = 2;
constexpr const char* kADMTrackerSuite = "ADM Tracker Suite";
constexpr ASInt32 kADMTrackerSuiteVersion = 2;
constexpr const char* kADMDrawerSuite = "ADM Drawer Suite";
constexpr ASInt32 kADMDrawerSuiteVersion = 7;

struct ADMDialogGroupSuite;
struct ADMDialogSuite;
struct ADMItemSuite;
struct ADMListSuite;
struct ADMNotifierSuite;
struct ADMEntrySuite;
struct ADMTrackerSuite;
struct ADMDrawerSuite;
