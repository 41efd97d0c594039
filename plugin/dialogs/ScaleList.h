// The preferences' scale list: the fixed scales, then the entry that opens the custom-scale
// dialog and the custom scale itself.
#pragma once

#include "ADMItem.h"
#include "Settings.h"

/// The scale list's item in the preferences dialog.
constexpr ASInt32 kScaleListItem = 8;

/// Fills the list, with the live custom scale at its end, and marks the edited scale.
void BuildScaleList(ADMItemRef list, const Settings& live, const Settings& edited, ADMItemNotifyProc notify);

/// Checks and selects the entry of the edited pair, after unchecking every entry.
void MarkChosenScale(ADMItemRef list, const Settings& edited);

/// Takes the list's active entry into edited: a fixed scale, or the live custom scale when
/// there is one (a beep otherwise). True when the entry asks for the custom-scale dialog.
bool TakeChosenScale(ADMItemRef list, const Settings& live, Settings& edited);

/// Shows the live custom scale in the list's custom entry and selects it.
void ShowCustomScale(ADMItemRef list, const Settings& live);

/// The "Sca." label beside the list.
void DrawScaleLabel(ADMItemRef item, ADMDrawerRef drawer);
