// Items of the dialog manager's dialogs: fields, buttons, pictures, texts, lists.
#pragma once

#include "ADMDialog.h"

constexpr const char* kADMItemSuite = "ADM Item Suite";
constexpr ASInt32 kADMItemSuiteVersion = 7;

/// Events a tracker sees (a mask of them selects those an item's track procedure receives).
using ADMActionMask = ASUInt32;

struct ADMItemSuite {
    ASInt32 (*GetID)(ADMItemRef item);
    ADMDialogRef (*GetDialog)(ADMItemRef item);

    void (*SetDrawProc)(ADMItemRef item, ADMItemDrawProc drawProc);
    void (*SetTrackProc)(ADMItemRef item, ADMItemTrackProc trackProc);
    void (*SetNotifyProc)(ADMItemRef item, ADMItemNotifyProc notifyProc);
    void (*SetMask)(ADMItemRef item, ADMActionMask mask);
    void (*DefaultDraw)(ADMItemRef item, ADMDrawerRef drawer);
    ASBoolean (*DefaultTrack)(ADMItemRef item, ADMTrackerRef tracker);
    void (*DefaultNotify)(ADMItemRef item, ADMNotifierRef notifier);

    void (*SetTipString)(ADMItemRef item, const char* tip);
    void (*EnableTip)(ADMItemRef item, ASBoolean enable);
    /// The picture resource shown, and the one shown while the item is pressed.
    void (*SetPictureID)(ADMItemRef item, ASInt32 pictureID, const char* pictureName);
    void (*SetSelectedPictureID)(ADMItemRef item, ASInt32 pictureID, const char* pictureName);
    void (*SetFont)(ADMItemRef item, ADMFont font);
    void (*SetJustify)(ADMItemRef item, ADMJustify justify);

    /// Text in the platform encoding.
    void (*SetText)(ADMItemRef item, const char* text);
    void (*GetText)(ADMItemRef item, char* text, ASInt32 maxLength);
    /// How a numeric value is shown: its units and decimals.
    void (*SetUnits)(ADMItemRef item, ADMUnits units);
    void (*SetPrecision)(ADMItemRef item, ASInt32 precision);
    void (*SetBooleanValue)(ADMItemRef item, ASBoolean value);
    ASBoolean (*GetBooleanValue)(ADMItemRef item);
    void (*SetIntValue)(ADMItemRef item, ASInt32 value);
    ASInt32 (*GetIntValue)(ADMItemRef item);
    void (*SetFloatValue)(ADMItemRef item, float value);
    float (*GetFloatValue)(ADMItemRef item);
    void (*SetMinFloatValue)(ADMItemRef item, float value);
    void (*SetMaxFloatValue)(ADMItemRef item, float value);
    void (*SetMinIntValue)(ADMItemRef item, ASInt32 value);
    void (*SetMaxIntValue)(ADMItemRef item, ASInt32 value);
    void (*SetSmallIncrement)(ADMItemRef item, float increment);
    void (*SetLargeIncrement)(ADMItemRef item, float increment);
    /// A further property of spin edits; the host keeps it and nothing depends on it.
    void (*SetHasRollOverProperty)(ADMItemRef item, ASBoolean value);

    void (*Show)(ADMItemRef item, ASBoolean show);
    ASBoolean (*IsVisible)(ADMItemRef item);
    void (*Enable)(ADMItemRef item, ASBoolean enable);
    ASBoolean (*IsEnabled)(ADMItemRef item);
    /// Gives the item the keyboard focus.
    void (*Activate)(ADMItemRef item, ASBoolean activate);
    /// Moves the item's top-left corner, in dialog pixels.
    void (*Move)(ADMItemRef item, ASInt32 h, ASInt32 v);
    void (*GetBoundsRect)(ADMItemRef item, ASRect* boundsRect);
    void (*Invalidate)(ADMItemRef item);

    /// The list of a popup, a spin edit's popup or a dialog's menu item; null for other items.
    ADMListRef (*GetList)(ADMItemRef item);
};
