// What the dialog manager hands to notify and track procedures.
#pragma once

#include "ADMTypes.h"

// Notification types.
constexpr const char* kADMUserChangedNotifier = "ADM User Changed Notifier";
constexpr const char* kADMShowWindowNotifier = "ADM Show Window Notifier";
constexpr const char* kADMHideWindowNotifier = "ADM Hide Window Notifier";
constexpr const char* kADMTextSelectionChangeNotifier = "ADM Text Selection Change Notification";

constexpr const char* kADMNotifierSuite = "ADM Notifier Suite";
constexpr ASInt32 kADMNotifierSuiteVersion = 2;

struct ADMNotifierSuite {
    /// The item the notification is about; null for a dialog's own.
    ADMItemRef (*GetItem)(ADMNotifierRef notifier);
    ADMDialogRef (*GetDialog)(ADMNotifierRef notifier);
    ASBoolean (*IsNotifierType)(ADMNotifierRef notifier, const char* notifierType);
    void (*GetNotifierType)(ADMNotifierRef notifier, char* notifierType, ASInt32 maxLength);
};

/// State of the mouse button during a track.
enum ADMMouseState : ASInt32 {
    kADMMouseNormal = 0,
    kADMMouseDown = 1,
};

/// Pointer moves with the button held, presses and releases: what a dragged picture wants.
constexpr ASUInt32 kADMDragTrackMask = 131142;

constexpr const char* kADMTrackerSuite = "ADM Tracker Suite";
constexpr ASInt32 kADMTrackerSuiteVersion = 2;

struct ADMTrackerSuite {
    /// The pointer, in the coordinates of the tracked item or dialog.
    void (*GetPoint)(ADMTrackerRef tracker, ASPoint* point);
    ADMMouseState (*GetMouseState)(ADMTrackerRef tracker);
};
