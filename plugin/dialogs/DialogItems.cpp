#include "DialogItems.h"

#include "ADMNotifier.h"
#include "OrvaneSuites.h"

ADMItemRef CreateItem(ADMDialogRef dialog, ASInt32 id, const char* type, const ASRect& rect, const char* tip) {
    const ADMItemRef item = sADMDialog->CreateItem(dialog, id, type, &rect, nullptr, nullptr, 0);
    if (tip) sADMItem->SetTipString(item, tip);
    return item;
}

ADMItemRef CreateFieldLabel(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* tip) {
    const ADMItemRef label = CreateItem(dialog, id, kADMPicturePushButtonType, rect, tip);
    sADMItem->SetDrawProc(label, DrawNothing);
    sADMItem->SetNotifyProc(label, FieldLabelClicked);
    return label;
}

ADMItemRef CreateButton(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* text, const char* tip,
                        ADMItemNotifyProc notify) {
    const ADMItemRef button = CreateItem(dialog, id, kADMTextPushButtonType, rect, tip);
    sADMItem->SetText(button, text);
    sADMItem->SetNotifyProc(button, notify);
    return button;
}

ADMItemRef SiblingItem(ADMItemRef item, ASInt32 id) {
    return sADMDialog->GetItem(sADMItem->GetDialog(item), id);
}

bool IsUserChange(ADMNotifierRef notifier) {
    return sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier);
}

void FocusSibling(ADMItemRef item, ASInt32 id) {
    sADMItem->Activate(SiblingItem(item, id), true);
}

void FieldLabelClicked(ADMItemRef item, ADMNotifierRef) {
    FocusSibling(item, sADMItem->GetID(item) - 1);
}

void DrawNothing(ADMItemRef, ADMDrawerRef) {}
