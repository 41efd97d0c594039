// Types of the drawing host: points, segments, colours, handles and events.
#pragma once

#include "ASTypes.h"

using AIReal = float;
using AIErr = ASErr;
using AIBoolean = ASBoolean;

/// A point on the artboard in document points (1/72 inch), v growing upward.
struct AIRealPoint {
    AIReal h;
    AIReal v;
};

/// A point of a document view in pixels, v growing downward.
struct AIPoint {
    ASInt16 h;
    ASInt16 v;
};

/// A rectangle of a document view in pixels.
using AIRect = ASRect;

/// One anchor of a path: the anchor point, its incoming and outgoing control points.
struct AIPathSegment {
    AIRealPoint p;
    AIRealPoint in;
    AIRealPoint out;
    AIBoolean corner;
};

/// A cubic Bezier: p0 and p3 the ends, p1 and p2 the control points.
struct AIRealBezier {
    AIRealPoint p0;
    AIRealPoint p1;
    AIRealPoint p2;
    AIRealPoint p3;
};

/// The host's colour: three 16-bit components, 0 to 65535.
struct AIRGBColor {
    ASUInt16 red;
    ASUInt16 green;
    ASUInt16 blue;
};

// Opaque handles. The host checks each one it is given: a handle it did not
// give out, or whose object is gone, answers kBadHandleErr.
struct _t_AIArtOpaque;
using AIArtHandle = _t_AIArtOpaque*;
struct _t_AILayerOpaque;
using AILayerHandle = _t_AILayerOpaque*;
struct _t_AIDocumentViewOpaque;
using AIDocumentViewHandle = _t_AIDocumentViewOpaque*;
struct _t_AIToolOpaque;
using AIToolHandle = _t_AIToolOpaque*;
struct _t_AINotifierOpaque;
using AINotifierHandle = _t_AINotifierOpaque*;
struct _t_AIAnnotatorOpaque;
using AIAnnotatorHandle = _t_AIAnnotatorOpaque*;
struct _t_AIMenuItemOpaque;
using AIMenuItemHandle = _t_AIMenuItemOpaque*;
struct _t_AIMenuGroupOpaque;
using AIMenuGroup = _t_AIMenuGroupOpaque*;
struct _t_AIAppContextOpaque;
using AIAppContextHandle = _t_AIAppContextOpaque*;
struct _t_AIHitOpaque;
using AIHitRef = _t_AIHitOpaque*;
struct _t_AIAnnotatorDrawerOpaque;
using AIAnnotatorDrawer = _t_AIAnnotatorDrawerOpaque;
struct _t_AIUnicodeStringOpaque;
using AIUnicodeStringHandle = _t_AIUnicodeStringOpaque*;

/// The platform event behind a tool message.
struct AIEvent {
    ASUInt16 what;
    ASUInt32 message;
    ASUInt32 when;
    AIPoint where;
    ASUInt16 modifiers;
};

// Modifier bits of AIEvent::modifiers.
constexpr ASUInt16 shiftKey = 0x0200;
constexpr ASUInt16 optionKey = 0x0800;
constexpr ASUInt16 controlKey = 0x1000;
