#include "BaseADMDialog.h"

#include "OrvaneSuites.h"

namespace {

BaseADMDialog* ObjectOf(ADMDialogRef dialog) {
    return static_cast<BaseADMDialog*>(sADMDialog->GetUserData(dialog));
}

}  // namespace

void IADMDialog::Show(bool show) {
    sADMDialog->Show(fDialog, show);
}

bool IADMDialog::IsVisible() const {
    return sADMDialog->IsVisible(fDialog);
}

SPPluginRef IADMDialog::GetPluginRef() const {
    return sADMDialog->GetPluginRef(fDialog);
}

ASErr BaseADMDialog::Init() {
    sADMDialog->SetDrawProc(fDialog, DrawProc);
    sADMDialog->SetTrackProc(fDialog, TrackProc);
    sADMDialog->SetNotifyProc(fDialog, NotifyProc);
    sADMDialog->SetDestroyProc(fDialog, DestroyProc);
    return kNoErr;
}

void BaseADMDialog::Draw(IADMDrawer drawer) {
    sADMDialog->DefaultDraw(fDialog, drawer);
}

ASBoolean BaseADMDialog::Track(IADMTracker tracker) {
    return sADMDialog->DefaultTrack(fDialog, tracker);
}

void BaseADMDialog::Notify(IADMNotifier notifier) {
    sADMDialog->DefaultNotify(fDialog, notifier);
}

BaseADMDialog::~BaseADMDialog() {
    if (!fDialog || fIsModal) return;
    // Nothing may reach this object while the host takes the dialog down.
    sADMDialog->SetUserData(fDialog, nullptr);
    sADMDialog->SetDrawProc(fDialog, nullptr);
    sADMDialog->SetNotifyProc(fDialog, nullptr);
    sADMDialog->SetDestroyProc(fDialog, nullptr);
    sADMDialog->Destroy(fDialog);
    fDialog = nullptr;
}

ADMDialogRef BaseADMDialog::Create(SPPluginRef pluginRef, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                                   ASInt32 options) {
    fDialog = sADMDialog->Create(pluginRef, name, dialogID, style, InitProc, this, options);
    return fDialog;
}

ASInt32 BaseADMDialog::Modal(SPPluginRef pluginRef, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                             ASInt32 options) {
    fIsModal = true;
    return sADMDialog->Modal(pluginRef, name, dialogID, style, InitProc, this, options);
}

ASInt32 BaseADMDialog::PopupModal(SPPluginRef pluginRef, const char* name, ASInt32 dialogID, ASInt32 options) {
    fIsModal = true;
    return sADMDialog->PopupModal(pluginRef, name, dialogID, InitProc, this, options);
}

ASErr BaseADMDialog::InitProc(ADMDialogRef dialog) {
    BaseADMDialog* object = ObjectOf(dialog);
    if (!object) return kBadParameterErr;
    object->fDialog = dialog;
    return object->Init();
}

void BaseADMDialog::DrawProc(ADMDialogRef dialog, ADMDrawerRef drawer) {
    BaseADMDialog* object = ObjectOf(dialog);
    if (object && object->fDialog == dialog) object->Draw(drawer);
}

ASBoolean BaseADMDialog::TrackProc(ADMDialogRef dialog, ADMTrackerRef tracker) {
    BaseADMDialog* object = ObjectOf(dialog);
    return object && object->fDialog == dialog ? object->Track(tracker) : false;
}

void BaseADMDialog::NotifyProc(ADMDialogRef dialog, ADMNotifierRef notifier) {
    if (BaseADMDialog* object = ObjectOf(dialog)) object->Notify(notifier);
}

void BaseADMDialog::DestroyProc(ADMDialogRef dialog) {
    BaseADMDialog* object = ObjectOf(dialog);
    if (!object) return;
    object->Destroy();
    // The host is taking the dialog down: the object's destructor must not destroy it again.
    object->fDialog = nullptr;
    if (!object->fIsModal) delete object;
}
