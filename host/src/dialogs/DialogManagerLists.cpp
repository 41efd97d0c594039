// Lists and their entries: the popups of fields, popup lists and the fly-out
// menus of palettes. Texts are in the platform encoding both ways.
#include <string>

#include "DialogCalls.h"
#include "host/dialogs/DialogManager.h"
#include "host/platform/Bundle.h"
#include "host/text/MacRoman.h"

namespace host {

using dialogcalls::copyText;

namespace {

constexpr const char* kMenuTable = "menus";

/// A field of a menu resource's entry, or fallback when it is missing or of another kind.
template <class T>
T field(const nlohmann::json& entry, const char* name, T fallback) {
    auto found = entry.find(name);
    if (found == entry.end()) return fallback;
    if constexpr (std::is_same_v<T, bool>) {
        return found->is_boolean() ? found->template get<bool>() : fallback;
    } else if constexpr (std::is_same_v<T, std::string>) {
        return found->is_string() ? found->template get<std::string>() : fallback;
    } else {
        return found->is_number_integer() ? found->template get<T>() : fallback;
    }
}

}  // namespace

ADMListRef DialogManager::makeList(ADMItemRef item) {
    return lists_.add({item, {}, nullptr});
}

ADMEntryRef DialogManager::insertEntry(ADMListRef ref, ASInt32 index) {
    List* list = lists_.find(ref);
    if (!list) return nullptr;
    Entry added;
    added.list = ref;
    ADMEntryRef entry = entries_.add(std::move(added));
    auto& entries = list->entries;
    bool atEnd = index < 0 || static_cast<std::size_t>(index) >= entries.size();
    entries.insert(atEnd ? entries.end() : entries.begin() + index, entry);
    invalidate(list->item);
    return entry;
}

void DialogManager::clearEntries(ADMListRef ref) {
    List* list = lists_.find(ref);
    if (!list) return;
    for (ADMEntryRef entry : list->entries) entries_.erase(entry);
    list->entries.clear();
    list->active = nullptr;
    invalidate(list->item);
}

bool DialogManager::setMenu(ADMListRef ref, SPPluginRef plugin, ASInt32 menuID) {
    const Bundle* bundle = plugins_.find(plugin);
    if (!lists_.find(ref) || !bundle) return false;
    const nlohmann::json& resources = bundle->resourceTable();
    auto menus = resources.find(kMenuTable);
    if (menus == resources.end() || !menus->is_object()) return false;
    auto menu = menus->find(std::to_string(menuID));
    if (menu == menus->end() || !menu->is_array()) return false;
    clearEntries(ref);
    ASInt32 position = 0;
    for (const nlohmann::json& row : *menu) {
        if (!row.is_object()) continue;
        ++position;
        Entry& entry = *entries_.find(insertEntry(ref, -1));
        // Menu entries are numbered from 1 unless the resource says otherwise.
        entry.id = field(row, "id", position);
        // The file is UTF-8; a text the platform encoding can't hold is left empty.
        entry.text = utf8ToMacRoman(field(row, "text", std::string())).value_or("");
        entry.separator = field(row, "separator", false);
        entry.enabled = field(row, "enabled", true);
        entry.checked = field(row, "checked", false);
    }
    return true;
}

struct ListSuites {
    using Entry = DialogManager::Entry;
    using List = DialogManager::List;

    static DialogManager* self() { return ActivePiece<DialogManager>::get(); }
    static List* list(ADMListRef ref) { return activeLookup(&DialogManager::lists_, ref); }
    static Entry* entry(ADMEntryRef ref) { return activeLookup(&DialogManager::entries_, ref); }
    /// Changes a live entry and has its item drawn again.
    template <class Change>
    static void change(ADMEntryRef ref, Change&& change) {
        guarded([&] {
            Entry* found = entry(ref);
            if (!found) return;
            change(*found);
            self()->invalidate(list(found->list)->item);
        });
    }

    // ADM List Suite

    static void SetMenuID(ADMListRef ref, SPPluginRef plugin, ASInt32 menuResID, const char*) {
        guarded([&] {
            if (DialogManager* manager = self()) manager->setMenu(ref, plugin, menuResID);
        });
    }
    static ADMEntryRef InsertEntry(ADMListRef ref, ASInt32 index) {
        return guarded<ADMEntryRef>(nullptr, [&] {
            DialogManager* manager = self();
            return manager ? manager->insertEntry(ref, index) : nullptr;
        });
    }
    static ASInt32 NumberOfEntries(ADMListRef ref) {
        const List* found = list(ref);
        return found ? static_cast<ASInt32>(found->entries.size()) : 0;
    }
    static ADMEntryRef IndexEntry(ADMListRef ref, ASInt32 index) {
        const List* found = list(ref);
        if (!found || index < 0 || static_cast<std::size_t>(index) >= found->entries.size()) return nullptr;
        return found->entries[static_cast<std::size_t>(index)];
    }
    static ADMEntryRef FindEntry(ADMListRef ref, ASInt32 entryID) {
        const List* found = list(ref);
        if (!found) return nullptr;
        for (ADMEntryRef candidate : found->entries)
            if (const Entry* listed = entry(candidate); listed && listed->id == entryID) return candidate;
        return nullptr;
    }
    static ADMEntryRef GetActiveEntry(ADMListRef ref) {
        const List* found = list(ref);
        return found ? found->active : nullptr;
    }

    // ADM Entry Suite

    static ADMListRef GetList(ADMEntryRef ref) {
        const Entry* found = entry(ref);
        return found ? found->list : nullptr;
    }
    static ASInt32 GetIndex(ADMEntryRef ref) {
        const Entry* found = entry(ref);
        const List* owner = found ? list(found->list) : nullptr;
        if (!owner) return -1;
        for (std::size_t i = 0; i < owner->entries.size(); ++i)
            if (owner->entries[i] == ref) return static_cast<ASInt32>(i);
        return -1;
    }
    static ASInt32 GetID(ADMEntryRef ref) {
        const Entry* found = entry(ref);
        return found ? found->id : 0;
    }
    static void SetID(ADMEntryRef ref, ASInt32 entryID) {
        change(ref, [&](Entry& found) { found.id = entryID; });
    }
    static void SetText(ADMEntryRef ref, const char* text) {
        change(ref, [&](Entry& found) { found.text = text ? text : ""; });
    }
    static void GetText(ADMEntryRef ref, char* text, ASInt32 maxLength) {
        const Entry* found = entry(ref);
        copyText(found ? found->text : std::string(), text, maxLength);
    }
    static void Check(ADMEntryRef ref, ASBoolean check) {
        change(ref, [&](Entry& found) { found.checked = check != 0; });
    }
    static ASBoolean IsChecked(ADMEntryRef ref) {
        const Entry* found = entry(ref);
        return found && found->checked;
    }
    static void Select(ADMEntryRef ref, ASBoolean select) {
        change(ref, [&](Entry& found) {
            List& owner = *list(found.list);
            if (select)
                owner.active = ref;
            else if (owner.active == ref)
                owner.active = nullptr;
        });
    }
    static ASBoolean IsSelected(ADMEntryRef ref) {
        const Entry* found = entry(ref);
        return found && list(found->list)->active == ref;
    }
    static void Enable(ADMEntryRef ref, ASBoolean enable) {
        change(ref, [&](Entry& found) { found.enabled = enable != 0; });
    }
    static ASBoolean IsEnabled(ADMEntryRef ref) {
        const Entry* found = entry(ref);
        return found && found->enabled;
    }
    static void MakeSeparator(ADMEntryRef ref, ASBoolean separator) {
        change(ref, [&](Entry& found) { found.separator = separator != 0; });
    }
    static ASBoolean IsSeparator(ADMEntryRef ref) {
        const Entry* found = entry(ref);
        return found && found->separator;
    }
};

void DialogManager::registerListSuites(SuiteRegistry& registry) {
    using S = ListSuites;
    static const ADMListSuite listSuite = {S::SetMenuID,  S::InsertEntry, S::NumberOfEntries,
                                           S::IndexEntry, S::FindEntry,   S::GetActiveEntry};
    static const ADMEntrySuite entrySuite = {S::GetList, S::GetIndex,  S::GetID,         S::SetID,      S::SetText,
                                             S::GetText, S::Check,     S::IsChecked,     S::Select,     S::IsSelected,
                                             S::Enable,  S::IsEnabled, S::MakeSeparator, S::IsSeparator};
    registry.add(kADMListSuite, kADMListSuiteVersion, &listSuite);
    registry.add(kADMEntrySuite, kADMEntrySuiteVersion, &entrySuite);
}

}  // namespace host
