// The custom-scale dialog: the user's own drawing scale, a numerator and a denominator,
// offered at the end of the preferences' scale list. Its fields write the live custom
// scale at once; OK stores it and makes it the preferences' edited scale.
#pragma once

#include "ADMDialog.h"
#include "ADMNotifier.h"
#include "ModalDialogs.h"
#include "Settings.h"

class CustomScaleDialog {
public:
    explicit CustomScaleDialog(Settings& live) : live_(live) {}
    CustomScaleDialog(const CustomScaleDialog&) = delete;
    CustomScaleDialog& operator=(const CustomScaleDialog&) = delete;

    /// Where the dialog opens on that screen.
    void place(const ASRect& screen);
    /// Runs the dialog to its end, unless it is already open. edited is the preferences'
    /// working copy, scaleList their scale list, whose custom entry shows the result.
    void open(SPPluginRef plugin, Settings& edited, ADMItemRef scaleList);

private:
    static ASErr Init(ADMDialogRef dialog);
    static void Draw(ADMDialogRef dialog, ADMDrawerRef drawer);
    /// However the run ends, the dialog can be opened again.
    static void Destroyed(ADMDialogRef dialog);
    static void NumeratorChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void DenominatorChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void Cancelled(ADMItemRef item, ADMNotifierRef notifier);
    static void Accepted(ADMItemRef item, ADMNotifierRef notifier);

    void init(ADMDialogRef dialog);
    void draw(ADMDialogRef dialog, ADMDrawerRef drawer) const;
    /// A field's value into the live pair, redrawn in the example line.
    void fieldChanged(ADMItemRef item, ADMNotifierRef notifier, double& value);
    void close(ADMItemRef item);
    void accept(ADMItemRef item, ADMNotifierRef notifier);

    Settings& live_;
    /// Set for the run only.
    Settings* edited_ = nullptr;
    ADMItemRef scaleList_ = nullptr;
    ModalDialogPlace place_;
};
