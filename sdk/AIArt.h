#pragma once

#include "AITypes.h"

constexpr const char* kAIArtSuite = "AI Art Suite";
constexpr ASInt32 kAIArtSuiteVersion = 1015;

// Art types.
constexpr ASInt16 kUnknownArt = 0;
constexpr ASInt16 kGroupArt = 1;
constexpr ASInt16 kPathArt = 2;

// Paint orders.
constexpr ASInt16 kPlaceAbove = 1;
constexpr ASInt16 kPlaceBelow = 2;
constexpr ASInt16 kPlaceInsideOnTop = 3;
constexpr ASInt16 kPlaceInsideOnBottom = 4;
constexpr ASInt16 kPlaceAboveAll = 5;
constexpr ASInt16 kPlaceBelowAll = 6;

// User attributes.
constexpr ASInt32 kArtSelected = 0x1;
constexpr ASInt32 kArtLocked = 0x2;
constexpr ASInt32 kArtHidden = 0x4;

struct AIArtSuite {
    /// A new empty art of the type, placed by paintOrder relative to prep (null: the current layer).
    AIErr (*NewArt)(ASInt16 type, ASInt16 paintOrder, AIArtHandle prep, AIArtHandle* newArt);
    AIErr (*DisposeArt)(AIArtHandle art);
    AIErr (*DuplicateArt)(AIArtHandle art, ASInt16 paintOrder, AIArtHandle prep, AIArtHandle* newArt);
    /// True while the art exists in the document.
    AIBoolean (*ValidArt)(AIArtHandle art, AIBoolean searchAllLayerLists);
    AIErr (*GetArtType)(AIArtHandle art, ASInt16* type);
    /// Sets the attributes of whichAttr to those of attr.
    AIErr (*SetArtUserAttr)(AIArtHandle art, ASInt32 whichAttr, ASInt32 attr);
    AIErr (*GetArtUserAttr)(AIArtHandle art, ASInt32 whichAttr, ASInt32* attr);
};
