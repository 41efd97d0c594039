// The preferences dialog: drawing scale, decimals and size of the annotations, the
// length and angle steps and the swap of Shift and Alt. It edits a working copy of the
// settings; OK applies and stores it, Cancel drops it.
#pragma once

#include "ADMDialog.h"
#include "ADMNotifier.h"
#include "CustomScaleDialog.h"
#include "ModalDialogs.h"
#include "Settings.h"

class PreferencesDialog {
public:
    explicit PreferencesDialog(Settings& live) : live_(live), customScale_(live) {}
    PreferencesDialog(const PreferencesDialog&) = delete;
    PreferencesDialog& operator=(const PreferencesDialog&) = delete;

    /// Where this dialog and the custom-scale dialog open on that screen.
    void place(const ASRect& screen);
    /// Runs the dialog to its end, unless it is already open; reached from the tool's
    /// double-click and the panel's menu. panel is the panel's dialog, null without a panel.
    void open(ADMDialogRef panel);

private:
    static ASErr Init(ADMDialogRef dialog);
    static void Draw(ADMDialogRef dialog, ADMDrawerRef drawer);
    /// However the run ends, the dialog can be opened again.
    static void Destroyed(ADMDialogRef dialog);
    /// A decimal number whose first decimals, as many as the edited precision, are lit.
    static void DrawPrecisionPicture(ADMItemRef item, ADMDrawerRef drawer);
    /// Dragging over the precision picture changes the precision one step per event.
    static ASBoolean TrackPrecisionPicture(ADMItemRef item, ADMTrackerRef tracker);
    /// "L = 8mm" framed, at the annotation size chosen.
    static void DrawLabelSizeSample(ADMItemRef item, ADMDrawerRef drawer);
    static void PrecisionChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void LengthStepChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void AngleStepChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void SwapShiftAltChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void LabelSizeChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void ScaleListChanged(ADMItemRef item, ADMNotifierRef notifier);
    static void Accepted(ADMItemRef item, ADMNotifierRef notifier);
    static void Cancelled(ADMItemRef item, ADMNotifierRef notifier);
    /// Puts the default settings into the controls; nothing is stored.
    static void DefaultsRestored(ADMItemRef item, ADMNotifierRef notifier);

    void init(ADMDialogRef dialog);
    void createStepFields(ADMDialogRef dialog);
    void createLabelSizeList(ADMDialogRef dialog);
    void drawPrecisionPicture(ADMDrawerRef drawer) const;
    ASBoolean trackPrecisionPicture(ADMItemRef item, ADMTrackerRef tracker);
    void drawLabelSizeSample(ADMDrawerRef drawer) const;
    void accept(ADMItemRef item, ADMNotifierRef notifier);
    void restoreDefaults(ADMItemRef item);
    void close(ADMItemRef item);

    Settings& live_;
    Settings edited_;
    CustomScaleDialog customScale_;
    ModalDialogPlace place_;
    /// The panel's dialog, for the run only.
    ADMDialogRef panel_ = nullptr;
    /// The last pointer seen by the precision picture's tracking.
    ASPoint lastTrackPoint_ = {0, 0};
};
