// What the panel and the dialogs build their items with: rectangles of dialog pixels,
// written the way the layouts and drawings give them, and the items and procedures
// they share.
#pragma once

#include "ADMItem.h"
#include "ADMTypes.h"
#include "ASTypes.h"

/// An item's rectangle from its left, top, width and height.
constexpr ASRect ItemRect(ASInt16 left, ASInt16 top, ASInt16 width, ASInt16 height) {
    return {top, left, static_cast<ASInt16>(top + height), static_cast<ASInt16>(left + width)};
}

/// A rectangle from its edges in the order left, top, right, bottom.
constexpr ASRect RectFromEdges(ASInt16 left, ASInt16 top, ASInt16 right, ASInt16 bottom) {
    return {top, left, bottom, right};
}

/// A text's anchor: the left end of its baseline.
constexpr ASPoint TextAnchor(ASInt16 left, ASInt16 baseline) {
    return {baseline, left};
}

/// An item of the dialog, with its tooltip when one is given.
ADMItemRef CreateItem(ADMDialogRef dialog, ASInt32 id, const char* type, const ASRect& rect, const char* tip = nullptr);

/// An invisible button beside a field, whose ID is the one after the field's: a click on
/// it puts the focus into the field.
ADMItemRef CreateFieldLabel(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* tip);

/// A push button with its text and tooltip.
ADMItemRef CreateButton(ADMDialogRef dialog, ASInt32 id, const ASRect& rect, const char* text, const char* tip,
                        ADMItemNotifyProc notify);

/// Item id of the dialog that item belongs to.
ADMItemRef SiblingItem(ADMItemRef item, ASInt32 id);

/// The notification says the person changed the item.
bool IsUserChange(ADMNotifierRef notifier);

/// Gives the keyboard focus to item id of item's dialog.
void FocusSibling(ADMItemRef item, ASInt32 id);

/// Notify procedure of a field's label: the focus goes into the field.
void FieldLabelClicked(ADMItemRef item, ADMNotifierRef notifier);

/// Draws nothing: for items that only catch clicks, or lie under what the dialog paints.
void DrawNothing(ADMItemRef item, ADMDrawerRef drawer);
