#include "Help.h"

#include "ADMNotifier.h"
#include "OrvaneSuites.h"

namespace {

// One row per line; "\r" alone is a blank row.
constexpr const char* kPages[help::kPageCount] = {
    "Use without the panel (1).\r"
    "\r"
    "The beginning of the line is obtained by a first click.\r"
    "The cursor is then moved, which shows annotations indicating the segment length and its angle to the "
    "horizontal.\r"
    "\r"
    "For the following segments, the angle is the angle relative to the segment that has just been drawn.\r"
    "\r",

    "Use without the panel (2).\r"
    "\r"
    "The segment length can be constrained or not.\r"
    "To move from one state to another, use the ALT key while moving.\r"
    "The angle of the segment can be constrained or not.\r"
    "To move from one state to another, use the SHIFT key while moving.\r"
    "\r",

    "Use without the panel (3).\r"
    "\r"
    "To see more clearly, we can not display annotations by pressing the CTRL key while you move the cursor.\r"
    "\r"
    "To end a line, you can click on the last point or the first point to close the polygon.\r"
    "\r"
    "The next click will be the beginning of a new line.\r"
    "\r",

    "Use without the panel (4).\r"
    "\r"
    "You can also end a line by pressing simultaneously the CTRL and ALT keys.\r"
    "\r"
    "If an error occurs, you can delete one or more segments by clicking on the last segment created (the shape "
    "of the cursor indicates that you can click to delete the segment).\r"
    "Return finishes the line, Escape ends it where it is and Backspace deletes the last segment.\r"
    "\r",

    "Use without the panel (5).\r"
    "\r"
    "You can also extend a line that already exists. This line may have points of tangency or not, that does "
    "not matter.\r"
    "To do this, just click on the last or the first point of a line, to extend or close it eg.\r"
    "\r"
    "While drawing, type a length (2400, 1,2 m, 2400/3) and press Return: the point goes that far towards the "
    "cursor. Tab goes on to the angle, or, with nothing typed, holds the direction.\r"
    "\r",

    "ALT-CLIC\r"
    "\r"
    "ALT-Click on the workplan to show or hide the panel.\r"
    "\r"
    "To select the tool, simply click on the panel.\r"
    "\r",

    "Use with the panel (1).\r"
    "\r"
    "The panel lets you introduce specific numerical values for the segment length and angle (The angle can be "
    "positive or negative.).\r"
    "\r"
    "Lengths are in millimeters and angles in degrees.\r"
    "Angles are expressed relative to the last drawn segment and not by reference to the horizontal.\r"
    "\r",

    "Use with the panel (2).\r"
    "\r"
    "With the panel displayed, you can also click on the last segment that has been drawn to delete it or on the "
    "first point to close the polygon.\r"
    "\r",

    "Preferences (1).\r"
    "\r"
    "The preferences allow you to choose the scale at which we draw.\r"
    "\r"
    "They also allow you to choose the number of digits after the decimal point that will be used to display "
    "annotations (from 0 to 6).\r"
    "\r"
    // The degree sign of the platform encoding (Mac OS Roman).
    "You can choose the value of the constraint length (by default 2 mm) and the constraint value for the angles "
    "(by default 5\xA1"
    ").\r"
    "\r",

    "Preferences (2).\r"
    "\r"
    "You can choose to inverse the functioning of Shift and Alt keys (by default, the cursor will be moved freely "
    "and by pressing ALT and/or SHIFT keys the constraints will be used)\r"
    "\r"
    "At last, the size of annotations displayed can be chosen.\r"
    "\r",
};

ADMItemRef Item(ADMDialogRef dialog, ASInt32 id) {
    return sADMDialog->GetItem(dialog, id);
}

/// The page number under the text and the page itself, once the page has moved.
void ShowPageNumberAndText(ADMDialogRef dialog, ASInt16 page) {
    sADMItem->SetIntValue(Item(dialog, help::kPageNumberItem), page);
    ShowHelpPage(dialog, page);
}

}  // namespace

const char* HelpPage(int number) {
    if (number < 1 || number > help::kPageCount) return nullptr;
    return kPages[number - 1];
}

void ShowHelpPage(ADMDialogRef dialog, ASInt16 number) {
    sADMItem->Enable(Item(dialog, help::kPreviousArrowItem), number > 1);
    sADMItem->Enable(Item(dialog, help::kNextArrowItem), number < help::kPageCount);
    ADMItemRef text = Item(dialog, help::kTextItem);
    if (const char* page = HelpPage(number)) sADMItem->SetText(text, page);
    sADMItem->Enable(text, true);
}

void PreviousHelpPage(ADMItemRef item, ADMNotifierRef notifier, ASInt16& page) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    const ADMDialogRef dialog = sADMItem->GetDialog(item);
    ADMItemRef arrow = Item(dialog, help::kPreviousArrowItem);
    --page;
    if (page > 1) {
        sADMItem->SetTipString(arrow, help::kPreviousPageTip);
        sADMItem->Enable(arrow, true);
    } else {
        sADMItem->SetTipString(arrow, help::kFirstPageTip);
        page = 1;
        sADMItem->Enable(arrow, false);
    }
    ADMItemRef other = Item(dialog, help::kNextArrowItem);
    sADMItem->Enable(other, true);
    sADMItem->SetTipString(other, help::kNextPageTip);
    ShowPageNumberAndText(dialog, page);
}

void NextHelpPage(ADMItemRef item, ADMNotifierRef notifier, ASInt16& page) {
    if (!sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) return;
    const ADMDialogRef dialog = sADMItem->GetDialog(item);
    ADMItemRef arrow = Item(dialog, help::kNextArrowItem);
    ++page;
    // The last page keeps the same tooltip: the arrow is disabled there anyway.
    sADMItem->SetTipString(arrow, help::kNextPageTip);
    if (page < help::kPageCount) {
        sADMItem->Enable(arrow, true);
    } else {
        page = help::kPageCount;
        sADMItem->Enable(arrow, false);
    }
    ADMItemRef other = Item(dialog, help::kPreviousArrowItem);
    sADMItem->Enable(other, true);
    sADMItem->SetTipString(other, help::kPreviousPageTip);
    ShowPageNumberAndText(dialog, page);
}
