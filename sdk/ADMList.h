// Lists of the dialog manager (popups, popup menus of fields, dialog menus) and their entries.
#pragma once

#include "ADMTypes.h"

constexpr const char* kADMListSuite = "ADM List Suite";
constexpr ASInt32 kADMListSuiteVersion = 1;

struct ADMListSuite {
    /// Fills the list from the plug-in's menu resource.
    void (*SetMenuID)(ADMListRef list, SPPluginRef plugin, ASInt32 menuResID, const char* name);
    /// A new entry at index (-1 or past the end: at the end).
    ADMEntryRef (*InsertEntry)(ADMListRef list, ASInt32 index);
    ASInt32 (*NumberOfEntries)(ADMListRef list);
    /// The entry at index, from 0.
    ADMEntryRef (*IndexEntry)(ADMListRef list, ASInt32 index);
    /// The first entry whose ID is entryID.
    ADMEntryRef (*FindEntry)(ADMListRef list, ASInt32 entryID);
    /// The entry last chosen, or null.
    ADMEntryRef (*GetActiveEntry)(ADMListRef list);
};

constexpr const char* kADMEntrySuite = "ADM Entry Suite";
constexpr ASInt32 kADMEntrySuiteVersion = 2;

struct ADMEntrySuite {
    ADMListRef (*GetList)(ADMEntryRef entry);
    ASInt32 (*GetIndex)(ADMEntryRef entry);
    ASInt32 (*GetID)(ADMEntryRef entry);
    void (*SetID)(ADMEntryRef entry, ASInt32 entryID);
    /// Text in the platform encoding.
    void (*SetText)(ADMEntryRef entry, const char* text);
    void (*GetText)(ADMEntryRef entry, char* text, ASInt32 maxLength);
    void (*Check)(ADMEntryRef entry, ASBoolean check);
    ASBoolean (*IsChecked)(ADMEntryRef entry);
    /// Makes the entry the list's active one.
    void (*Select)(ADMEntryRef entry, ASBoolean select);
    ASBoolean (*IsSelected)(ADMEntryRef entry);
    void (*Enable)(ADMEntryRef entry, ASBoolean enable);
    ASBoolean (*IsEnabled)(ADMEntryRef entry);
    void (*MakeSeparator)(ADMEntryRef entry, ASBoolean separator);
    ASBoolean (*IsSeparator)(ADMEntryRef entry);
};
