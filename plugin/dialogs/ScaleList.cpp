#include "ScaleList.h"

#include "DialogItems.h"
#include "OrvaneSuites.h"
#include "ScalePositions.h"

using namespace scales;

namespace {

constexpr const char* kScaleListTip = "Scale of the drawing.";
constexpr const char* kScaleLabel = "Sca.";

ADMListRef ListOf(ADMItemRef item) {
    return sADMItem->GetList(item);
}

/// Position of the list's active entry, -1 without one.
ASInt32 ActivePosition(ADMItemRef list) {
    const ADMEntryRef entry = sADMList->GetActiveEntry(ListOf(list));
    return entry ? sADMEntry->GetIndex(entry) : -1;
}

}  // namespace

void BuildScaleList(ADMItemRef list, const Settings& live, const Settings& edited, ADMItemNotifyProc notify) {
    const ADMListRef entries = ListOf(list);
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntries.size()); ++position) {
        const ADMEntryRef entry = sADMList->InsertEntry(entries, position);
        if (kEntries[static_cast<std::size_t>(position)].kind == Kind::Separator) {
            sADMEntry->MakeSeparator(entry, true);
            continue;
        }
        sADMEntry->SetText(entry, kEntries[static_cast<std::size_t>(position)].text);
        sADMEntry->SetID(entry, position);
    }
    char text[kCustomTextSize];
    CustomScaleText(live.customNumerator, live.customDenominator, text);
    const ADMEntryRef custom = sADMList->IndexEntry(entries, kCustomPosition);
    sADMEntry->SetText(custom, text);
    sADMEntry->Enable(custom, live.customNumerator != 0.0);
    MarkChosenScale(list, edited);
    sADMItem->SetNotifyProc(list, notify);
    sADMItem->SetTipString(list, kScaleListTip);
}

void MarkChosenScale(ADMItemRef list, const Settings& edited) {
    const ADMListRef entries = ListOf(list);
    for (ASInt32 position = 0; position < static_cast<ASInt32>(kEntries.size()); ++position)
        sADMEntry->Check(sADMList->IndexEntry(entries, position), false);
    const ADMEntryRef marked =
        sADMList->IndexEntry(entries, ScalePosition(edited.scaleNumerator, edited.scaleDenominator));
    sADMEntry->Check(marked, true);
    sADMEntry->Select(marked, true);
}

bool TakeChosenScale(ADMItemRef list, const Settings& live, Settings& edited) {
    const ASInt32 position = ActivePosition(list);
    if (position < 0 || position >= static_cast<ASInt32>(kEntries.size())) return false;
    const ScaleEntry& entry = kEntries[static_cast<std::size_t>(position)];
    switch (entry.kind) {
        case Kind::Fixed:
            edited.scaleNumerator = entry.num;
            edited.scaleDenominator = entry.den;
            return false;
        case Kind::ChooseCustom:
            return true;
        case Kind::Custom: {
            const ADMEntryRef custom = sADMList->IndexEntry(ListOf(list), kCustomPosition);
            if (live.customNumerator == 0.0) {
                // No custom scale yet: the entry cannot be chosen.
                sADMBasic->Beep();
                sADMEntry->Enable(custom, false);
            } else {
                edited.scaleNumerator = live.customNumerator;
                edited.scaleDenominator = live.customDenominator;
                sADMEntry->Enable(custom, true);
            }
            return false;
        }
        case Kind::Separator:
            return false;
    }
    return false;
}

void ShowCustomScale(ADMItemRef list, const Settings& live) {
    const ADMEntryRef custom = sADMList->IndexEntry(ListOf(list), kCustomPosition);
    char text[kCustomTextSize];
    CustomScaleText(live.customNumerator, live.customDenominator, text);
    sADMEntry->SetText(custom, text);
    sADMEntry->Select(custom, true);
}

void DrawScaleLabel(ADMItemRef, ADMDrawerRef drawer) {
    ASRect background{};
    sADMDrawer->GetBoundsRect(drawer, &background);
    sADMDrawer->ClearRect(drawer, &background);
    sADMDrawer->SetADMColor(drawer, kADMBlackColor);
    sADMDrawer->SetFont(drawer, kADMSmallPaletteFont);
    const ASPoint point = TextAnchor(0, 13);
    sADMDrawer->DrawText(drawer, kScaleLabel, &point);
}
