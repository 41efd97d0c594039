// The preferences dialog: drawing scale, decimals and size of the annotations, the
// length and angle steps and the swap of Shift and Alt. It edits the working copies
// (a working copy of the settings); OK applies and stores it, Cancel drops it.
#pragma once

#include "ADMDialog.h"
#include "ADMNotifier.h"

/// Runs the preferences dialog to its end, unless it is already open; reached from the
/// tool's double-click and the panel's menu.
void OuvreDialoguePrefs();

/// The precision after one event of a drag over the precision picture at h, the previous
/// event having been at precedent: one step down when the pointer moved left, one step up
/// otherwise (no movement, or any event at h = 0, included); kept within 0 to 6.
ASInt32 PrecisionApresGlisse(ASInt32 precision, ASInt16 precedent, ASInt16 h);

/// Init procedure of the preferences dialog.
ASErr ValeursDefautProcPrefs(ADMDialogRef dialog);

/// The dialog's own drawing: the length and angle icons beside their fields.
void PrefsDraw(ADMDialogRef dialog, ADMDrawerRef drawer);
/// Draws nothing: for items that only catch clicks.
void BidonPrefsDraw(ADMItemRef item, ADMDrawerRef drawer);
/// A decimal number whose first PrecisionProv decimals are lit.
void PrecisionPrefsDraw(ADMItemRef item, ADMDrawerRef drawer);
/// Dragging over the precision picture changes the precision one step per event.
ASBoolean PrecisionPrefsTrackProc(ADMItemRef item, ADMTrackerRef tracker);
/// "L = 8mm" framed, at the annotation size chosen.
void DessinTailleTexteAnnotationsDraw(ADMItemRef item, ADMDrawerRef drawer);

void PrecisionPrefsCBP(ADMItemRef item, ADMNotifierRef notifier);
void ContrainteLongueurCBP(ADMItemRef item, ADMNotifierRef notifier);
void ContrainteAngleCBP(ADMItemRef item, ADMNotifierRef notifier);
void ShiftAltPrefsCBP(ADMItemRef item, ADMNotifierRef notifier);
void TailleTexteAnnotationsPrefsCBP(ADMItemRef item, ADMNotifierRef notifier);
/// A click on the length or angle icon puts the cursor in its field.
void MotPrefsCBP(ADMItemRef item, ADMNotifierRef notifier);
/// Gives the focus to item id of item's dialog.
void MotPrefsPlusCBP(ADMItemRef item, ASInt32 id);
void OKPrefsCBP(ADMItemRef item, ADMNotifierRef notifier);
void AnnulerPrefsCBP(ADMItemRef item, ADMNotifierRef notifier);
/// Puts the default settings into the controls; nothing is stored.
void ParDefautPrefsCBP(ADMItemRef item, ADMNotifierRef notifier);
