// A host dialog bound to a C++ object: the dialog carries the object as its user
// data, and static procedures forward the host's events to virtual operations.
// Beside it, thin value wrappers of the references the dialog manager hands out.
#pragma once

#include "ADMDialog.h"
#include "ASMemory.h"

/// A dialog reference.
class IADMDialog {
public:
    IADMDialog(ADMDialogRef dialog = nullptr) : fDialog(dialog) {}
    operator ADMDialogRef() const { return fDialog; }

    ADMDialogRef GetDialogRef() const { return fDialog; }
    void Show(bool show = true);
    bool IsVisible() const;
    /// The plug-in that owns the dialog.
    SPPluginRef GetPluginRef() const;

private:
    ADMDialogRef fDialog;
};

/// The drawer handed to a draw procedure.
class IADMDrawer {
public:
    IADMDrawer(ADMDrawerRef drawer = nullptr) : fDrawer(drawer) {}
    operator ADMDrawerRef() const { return fDrawer; }

private:
    ADMDrawerRef fDrawer;
};

/// The tracker handed to a track procedure.
class IADMTracker {
public:
    IADMTracker(ADMTrackerRef tracker = nullptr) : fTracker(tracker) {}
    operator ADMTrackerRef() const { return fTracker; }

private:
    ADMTrackerRef fTracker;
};

/// The notifier handed to a notify procedure.
class IADMNotifier {
public:
    IADMNotifier(ADMNotifierRef notifier = nullptr) : fNotifier(notifier) {}
    operator ADMNotifierRef() const { return fNotifier; }

private:
    ADMNotifierRef fNotifier;
};

class BaseADMDialog : public ASMemoryObject {
public:
    BaseADMDialog() = default;
    BaseADMDialog(const BaseADMDialog&) = delete;
    BaseADMDialog& operator=(const BaseADMDialog&) = delete;

    /// Called by the host while it creates the dialog; installs the forwarding procedures.
    virtual ASErr Init();
    virtual void Draw(IADMDrawer drawer);
    virtual ASBoolean Track(IADMTracker tracker);
    virtual void Notify(IADMNotifier notifier);
    /// The host is destroying the dialog.
    virtual void Destroy() {}
    /// Destroys a non-modal dialog with its object; a modal one is ended by its run.
    virtual ~BaseADMDialog();

    /// A non-modal dialog bound to this object; null when the host can't create it.
    virtual ADMDialogRef Create(SPPluginRef pluginRef, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                                ASInt32 options = 0);
    /// Runs a modal dialog bound to this object; answers the ID of the item that ended it.
    virtual ASInt32 Modal(SPPluginRef pluginRef, const char* name, ASInt32 dialogID,
                          ADMDialogStyle style = kADMModalDialogStyle, ASInt32 options = 0);
    virtual ASInt32 PopupModal(SPPluginRef pluginRef, const char* name, ASInt32 dialogID, ASInt32 options = 0);

    IADMDialog GetDialog() const { return fDialog; }

protected:
    IADMDialog fDialog;
    ASBoolean fIsModal = false;

private:
    static ASErr InitProc(ADMDialogRef dialog);
    static void DrawProc(ADMDialogRef dialog, ADMDrawerRef drawer);
    static ASBoolean TrackProc(ADMDialogRef dialog, ADMTrackerRef tracker);
    static void NotifyProc(ADMDialogRef dialog, ADMNotifierRef notifier);
    static void DestroyProc(ADMDialogRef dialog);
};
