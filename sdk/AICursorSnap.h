#pragma once

#include "AITypes.h"

constexpr const char* kAICursorSnapSuite = "AI Cursor Snap Suite";
constexpr ASInt32 kAICursorSnapSuiteVersion = 1003;

/// Snaps the cursor to features of the artwork. The control string chooses them;
/// "A i o" snaps to the crossing of two paths nearest the cursor.
struct AICursorSnapSuite {
    AIErr (*Track)(AIDocumentViewHandle view, AIRealPoint srcPoint, const AIEvent* event, const char* control,
                   AIRealPoint* dstPoint);
};
