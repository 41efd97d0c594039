#include "AboutBox.h"

#include "ADMItem.h"
#include "ModalDialogs.h"
#include "OrvaneSuites.h"

namespace {

constexpr const char* kTitle = "About Tesk\xA5Orvane";
constexpr const char* kNameAndVersion = "Tesk\xA5Orvane 1.3 (May 2013)";
constexpr const char* kWebAddress = "https://orvane.example.org";
constexpr const char* kButtonText = "Close";

// The button is item 1, which ends the modal run; the texts keep IDs of their own so that
// item 1 always means the button.
constexpr ASInt32 kButtonItem = 1;
constexpr ASInt32 kNameAndVersionItem = 3;
constexpr ASInt32 kWebAddressItem = 5;

constexpr ASRect kNameAndVersionRect = {8, 15, 28, 385};
constexpr ASRect kWebAddressRect = {170, 15, 190, 385};
constexpr ASRect kButtonRect = {196, 25, 216, 375};

constexpr ASInt32 kAboutIcon = 1000;
constexpr ASPoint kIconCorner = {50, 40};

ADMItemRef CreateText(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* text) {
    ADMItemRef item = sADMDialog->CreateItem(dialog, id, kADMTextStaticType, &rect, nullptr, nullptr, 0);
    sADMItem->SetFont(item, kADMBoldDialogFont);
    sADMItem->SetJustify(item, kADMCenterJustify);
    sADMItem->SetText(item, text);
    return item;
}

}  // namespace

ASRect AboutBoxFrame(const ASRect& screen) {
    return dialogs::FrameOnScreen(screen, about::kWidth, about::kHeight);
}

ASErr InitAboutBox(ADMDialogRef dialog) {
    sADMDialog->SetDrawProc(dialog, DrawAboutBox);

    ASRect screen = {0, 0, 0, 0};
    sADMBasic->GetScreenDimensions(&screen);
    const ASRect place = AboutBoxFrame(screen);
    sADMDialog->SetBoundsRect(dialog, &place);
    sADMDialog->SetText(dialog, kTitle);

    CreateText(dialog, kNameAndVersionItem, kNameAndVersionRect, kNameAndVersion);
    CreateText(dialog, kWebAddressItem, kWebAddressRect, kWebAddress);
    ADMItemRef button =
        sADMDialog->CreateItem(dialog, kButtonItem, kADMTextPushButtonType, &kButtonRect, nullptr, nullptr, 0);
    sADMItem->SetText(button, kButtonText);
    sADMItem->SetNotifyProc(button, CloseAboutBox);
    return kNoErr;
}

void DrawAboutBox(ADMDialogRef dialog, ADMDrawerRef drawer) {
    const SPPluginRef plugin = sADMDialog->GetPluginRef(dialog);
    sADMDialog->DefaultDraw(dialog, drawer);
    // Loaded for each drawing and given back at once: the box keeps nothing between drawings.
    const ADMIconRef icon = sADMIcon2->GetFromResource(plugin, nullptr, kAboutIcon, 0);
    sADMDrawer->DrawIcon(drawer, icon, &kIconCorner);
    sADMIcon2->Destroy(icon);
}

void CloseAboutBox(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
}
