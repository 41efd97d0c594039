#pragma once

#include "ADMTypes.h"

constexpr const char* kADMIconSuite = "ADM Icon Suite";
constexpr ASInt32 kADMIconSuiteVersion1 = 1;
constexpr ASInt32 kADMIconSuiteVersion2 = 2;

/// Types of an icon; kUnknown when nothing usable was loaded.
enum ADMIconType : ASInt32 {
    kADMPictureIconType = 1,
    kADMUnknownIconType = 7,
};

struct ADMIconSuite {
    /// The plug-in's icon resource iconID (name may be null). Never null: an icon whose type tells.
    ADMIconRef (*GetFromResource)(SPPluginRef plugin, const char* name, ASInt32 iconID, ASInt32 iconIndex);
    ADMIconType (*GetType)(ADMIconRef icon);
    void (*Destroy)(ADMIconRef icon);
};
