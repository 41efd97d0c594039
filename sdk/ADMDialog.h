// The dialog manager's dialogs and their items.
#pragma once

#include "ADMTypes.h"

using ADMUserData = void*;

using ADMDialogInitProc = ASErr (*)(ADMDialogRef dialog);
using ADMDialogDrawProc = void (*)(ADMDialogRef dialog, ADMDrawerRef drawer);
using ADMDialogTrackProc = ASBoolean (*)(ADMDialogRef dialog, ADMTrackerRef tracker);
using ADMDialogNotifyProc = void (*)(ADMDialogRef dialog, ADMNotifierRef notifier);
using ADMDialogDestroyProc = void (*)(ADMDialogRef dialog);

using ADMItemInitProc = ASErr (*)(ADMItemRef item);
using ADMItemDrawProc = void (*)(ADMItemRef item, ADMDrawerRef drawer);
using ADMItemTrackProc = ASBoolean (*)(ADMItemRef item, ADMTrackerRef tracker);
using ADMItemNotifyProc = void (*)(ADMItemRef item, ADMNotifierRef notifier);

/// Dialog styles.
enum ADMDialogStyle : ASInt32 {
    kADMModalDialogStyle = 0,
    kADMAlertDialogStyle = 1,
    kADMFloatingDialogStyle = 2,
    kADMTabbedFloatingDialogStyle = 3,
    kADMPopupModalDialogStyle = 5,
};

/// The item of a floating dialog that carries its fly-out menu.
constexpr ASInt32 kADMMenuItemID = -5;

// Item types.
constexpr const char* kADMPictureStaticType = "ADM Picture Static Type";
constexpr const char* kADMPicturePushButtonType = "ADM Picture Push Button Type";
constexpr const char* kADMSpinEditType = "ADM Spin Edit Type";
constexpr const char* kADMSpinEditPopupType = "ADM Spin Edit Popup Type";
constexpr const char* kADMTextStaticType = "ADM Text Static Type";
constexpr const char* kADMTextStaticMultiLineType = "ADM Text Static Multi Line Type";
constexpr const char* kADMTextPushButtonType = "ADM Text Push Button Type";
constexpr const char* kADMTextCheckBoxType = "ADM Text Check Box Type";
constexpr const char* kADMPopupListType = "ADM Popup List Type";
constexpr const char* kADMPopupMenuType = "ADM Popup Menu Type";

/// Fonts of dialog texts; other numbers are the host's other dialog fonts.
enum ADMFont : ASInt32 {
    kADMDefaultFont = 0,
    kADMDialogFont = 1,
    kADMPaletteFont = 2,
    kADMBoldDialogFont = 5,
    kADMSmallPaletteFont = 13,
};

enum ADMJustify : ASInt32 {
    kADMLeftJustify = 0,
    kADMCenterJustify = 1,
    kADMRightJustify = 2,
};

constexpr const char* kADMDialogSuite = "ADM Dialog Suite";
constexpr ASInt32 kADMDialogSuiteVersion = 10;

struct ADMDialogSuite {
    /// A non-modal dialog; the host calls initProc during the creation. Null when it fails.
    ADMDialogRef (*Create)(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                           ADMDialogInitProc initProc, ADMUserData data, ASInt32 options);
    /// Runs a modal dialog to its end; answers the ID of the item that ended it (-1 when it fails).
    ASInt32 (*Modal)(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                     ADMDialogInitProc initProc, ADMUserData data, ASInt32 options);
    ASInt32 (*PopupModal)(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogInitProc initProc,
                          ADMUserData data, ASInt32 options);
    void (*Destroy)(ADMDialogRef dialog);

    void (*SetDrawProc)(ADMDialogRef dialog, ADMDialogDrawProc drawProc);
    void (*SetTrackProc)(ADMDialogRef dialog, ADMDialogTrackProc trackProc);
    void (*SetNotifyProc)(ADMDialogRef dialog, ADMDialogNotifyProc notifyProc);
    void (*SetDestroyProc)(ADMDialogRef dialog, ADMDialogDestroyProc destroyProc);
    ADMUserData (*GetUserData)(ADMDialogRef dialog);
    void (*SetUserData)(ADMDialogRef dialog, ADMUserData data);

    void (*DefaultDraw)(ADMDialogRef dialog, ADMDrawerRef drawer);
    ASBoolean (*DefaultTrack)(ADMDialogRef dialog, ADMTrackerRef tracker);
    /// A modal dialog's push button 1 or 2 ends the modal run with its ID.
    void (*DefaultNotify)(ADMDialogRef dialog, ADMNotifierRef notifier);

    SPPluginRef (*GetPluginRef)(ADMDialogRef dialog);
    ADMItemRef (*GetItem)(ADMDialogRef dialog, ASInt32 itemID);
    ADMItemRef (*CreateItem)(ADMDialogRef dialog, ASInt32 itemID, const char* itemType, const ASRect* boundsRect,
                             ADMItemInitProc initProc, ADMUserData data, ASInt32 options);

    void (*Show)(ADMDialogRef dialog, ASBoolean show);
    ASBoolean (*IsVisible)(ADMDialogRef dialog);
    /// The title, in the platform encoding.
    void (*SetText)(ADMDialogRef dialog, const char* text);
    /// The frame on the screen.
    void (*GetBoundsRect)(ADMDialogRef dialog, ASRect* boundsRect);
    void (*SetBoundsRect)(ADMDialogRef dialog, const ASRect* boundsRect);
    /// The dialog is drawn again once the current message has returned.
    void (*Invalidate)(ADMDialogRef dialog);
};

constexpr const char* kADMDialogGroupSuite = "ADM Dialog Group Suite";
constexpr ASInt32 kADMDialogGroupSuiteVersion = 1;

struct ADMDialogGroupSuite {
    /// Where a floating dialog is docked: its group's name and a position code.
    ASErr (*GetDialogGroupInfo)(ADMDialogRef dialog, const char** groupName, ASInt32* positionCode);
};
