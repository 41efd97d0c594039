// The preferences dialog: drawing scale, decimals and size of the annotations, the
// length and angle steps and the swap of Shift and Alt. It edits a working copy of the
// settings; OK applies and stores it, Cancel drops it.
#pragma once

#include "ADMDialog.h"
#include "ADMNotifier.h"

/// Runs the preferences dialog to its end, unless it is already open; reached from the
/// tool's double-click and the panel's menu.
void OpenPreferencesDialog();

/// The precision after one event of a drag over the precision picture at h, the previous
/// event having been at precedent: one step down when the pointer moved left, one step up
/// otherwise (no movement, or any event at h = 0, included); kept within 0 to 6.
ASInt32 PrecisionAfterDrag(ASInt32 precision, ASInt16 previous, ASInt16 h);

/// Init procedure of the preferences dialog.
ASErr InitPreferencesDialog(ADMDialogRef dialog);

/// The dialog's own drawing: the length and angle icons beside their fields.
void DrawPreferencesDialog(ADMDialogRef dialog, ADMDrawerRef drawer);
/// A decimal number whose first decimals, as many as the edited precision, are lit.
void DrawPrecisionPicture(ADMItemRef item, ADMDrawerRef drawer);
/// Dragging over the precision picture changes the precision one step per event.
ASBoolean TrackPrecisionPicture(ADMItemRef item, ADMTrackerRef tracker);
/// "L = 8mm" framed, at the annotation size chosen.
void DrawLabelSizeSample(ADMItemRef item, ADMDrawerRef drawer);

void PrecisionChanged(ADMItemRef item, ADMNotifierRef notifier);
void LengthStepChanged(ADMItemRef item, ADMNotifierRef notifier);
void AngleStepChanged(ADMItemRef item, ADMNotifierRef notifier);
void SwapShiftAltChanged(ADMItemRef item, ADMNotifierRef notifier);
void LabelSizeChanged(ADMItemRef item, ADMNotifierRef notifier);
void AcceptPreferences(ADMItemRef item, ADMNotifierRef notifier);
void CancelPreferences(ADMItemRef item, ADMNotifierRef notifier);
/// Puts the default settings into the controls; nothing is stored.
void RestoreDefaultPreferences(ADMItemRef item, ADMNotifierRef notifier);
