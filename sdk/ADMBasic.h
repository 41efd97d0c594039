#pragma once

#include "ADMTypes.h"

constexpr const char* kADMBasicSuite = "ADM Basic Suite";
constexpr ASInt32 kADMBasicSuiteVersion10 = 10;
constexpr ASInt32 kADMBasicSuiteVersion11 = 11;

/// Services of the dialog manager that need no dialog.
struct ADMBasicSuite {
    void (*Beep)();
    /// Shows an alert with one text (8-bit, platform encoding).
    void (*ErrorAlert)(const char* errorString);
    /// Shows the About box of a plug-in with two texts.
    void (*AboutBox)(SPPluginRef plugin, const char* text1, const char* text2);
    /// The main screen's rectangle.
    void (*GetScreenDimensions)(ASRect* dimensions);
    /// Entry index (from 1) of the plug-in's string list stringID, at most maxLength bytes with the
    /// terminating zero, in the platform encoding. An index past the list gives an error and "".
    ASErr (*GetIndexString)(SPPluginRef plugin, ASInt32 stringID, ASInt32 index, char* buffer, ASInt32 maxLength);
    /// Shows the plug-in's cursor resource cursorID.
    void (*SetPlatformCursor)(SPPluginRef plugin, ASInt32 cursorID);
    /// value as text in the units given (a value in points shown in millimetres, say), with
    /// precision decimals and the unit appended when asked; at most maxLength bytes with the zero.
    void (*ValueToText)(float value, char* text, ASInt32 maxLength, ADMUnits units, ASInt32 precision,
                        ASBoolean appendUnits);
};
