// Drawing in dialogs and items, in their own pixels.
#pragma once

#include "ADMTypes.h"

/// Colours of the dialog manager; other numbers are the host's other interface colours.
enum ADMColor : ASInt32 {
    kADMBlackColor = 0,
    kADMWhiteColor = 1,
    kADMShadowColor = 6,
    kADMHiliteColor = 16,
};

constexpr const char* kADMDrawerSuite = "ADM Drawer Suite";
constexpr ASInt32 kADMDrawerSuiteVersion = 7;

struct ADMDrawerSuite {
    void (*GetBoundsRect)(ADMDrawerRef drawer, ASRect* boundsRect);
    void (*SetADMColor)(ADMDrawerRef drawer, ADMColor color);
    void (*SetFont)(ADMDrawerRef drawer, ASInt32 font);
    /// Paints the rectangle in the background colour.
    void (*ClearRect)(ADMDrawerRef drawer, const ASRect* rect);
    void (*FillRect)(ADMDrawerRef drawer, const ASRect* rect);
    void (*FrameRect)(ADMDrawerRef drawer, const ASRect* rect);
    /// Text (platform encoding) with its baseline's left end at point.
    void (*DrawText)(ADMDrawerRef drawer, const char* text, const ASPoint* point);
    void (*DrawTextCentered)(ADMDrawerRef drawer, const char* text, const ASRect* rect);
    void (*DrawIcon)(ADMDrawerRef drawer, ADMIconRef icon, const ASPoint* topLeft);
};
