#include "host/commands/Menus.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>

#include "host/text/MacRoman.h"

namespace host {

using Active = ActivePiece<Menus>;

namespace {

/// The string's text in UTF-8; nullopt for a handle that is not live or holds a broken surrogate pair.
std::optional<std::string> textOf(const UnicodeStrings& strings, AIUnicodeStringHandle text) {
    try {
        return strings.utf8(text);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

}  // namespace

Menus::Menus(const UnicodeStrings& strings) : strings_(strings) {
    for (const char* name : kHostGroups) addGroup(name, 0, nullptr);
}

Menus::~Menus() {
    Active::clear(this);
}

void Menus::registerSuites(SuiteRegistry& registry) {
    static const AIMenuSuite suite = {&addMenuItem,     &addMenuGroupAsSubMenu, &countMenuGroups,
                                      &getNthMenuGroup, &getMenuGroupName,      &setItemText};
    Active::set(this);
    registry.add(kAIMenuSuite, kAIMenuSuiteVersion, &suite);
}

AIMenuGroup Menus::addGroup(std::string name, ASInt32 options, AIMenuItemHandle parent) {
    AIMenuGroup handle = groups_.add({std::move(name), options, parent, {}});
    order_.push_back(handle);
    return handle;
}

AIMenuGroup Menus::findGroup(const std::string& name) const {
    for (AIMenuGroup handle : order_)
        if (groups_.find(handle)->name == name) return handle;
    return nullptr;
}

std::vector<AIMenuItemHandle> Menus::itemsOf(AIMenuGroup handle) const {
    const Group* found = groups_.find(handle);
    if (!found) return {};
    std::vector<AIMenuItemHandle> items = found->items;
    if (found->options & kMenuGroupSortedAlphabeticallyOption)
        std::stable_sort(items.begin(), items.end(), [this](AIMenuItemHandle a, AIMenuItemHandle b) {
            return items_.find(a)->text < items_.find(b)->text;
        });
    return items;
}

AIMenuItemHandle Menus::findCommand(const std::string& textUtf8) const {
    AIMenuItemHandle found = nullptr;
    items_.forEach([&](AIMenuItemHandle handle, const Item& item) {
        if (!found && !item.submenu && item.text == textUtf8) found = handle;
    });
    return found;
}

std::vector<AIMenuItemHandle> Menus::itemsWantingUpdate() const {
    std::vector<AIMenuItemHandle> wanting;
    items_.forEach([&](AIMenuItemHandle handle, const Item& item) {
        if (item.options & kMenuItemWantsUpdateOption) wanting.push_back(handle);
    });
    return wanting;
}

void Menus::dump(nlohmann::json& out) const {
    auto& list = out["menus"] = nlohmann::json::array();
    for (AIMenuGroup handle : order_) {
        const Group& group = *groups_.find(handle);
        nlohmann::json items = nlohmann::json::array();
        for (AIMenuItemHandle entry : itemsOf(handle)) {
            const Item& item = *items_.find(entry);
            const Group* submenu = groups_.find(item.submenu);
            items.push_back({{"key", macRomanToUtf8(item.key)},
                             {"text", item.text},
                             {"submenu", submenu ? macRomanToUtf8(submenu->name) : ""}});
        }
        list.push_back({{"group", macRomanToUtf8(group.name)},
                        {"parent", group.parent ? items_.find(group.parent)->text : ""},
                        {"items", std::move(items)}});
    }
}

AIErr Menus::addMenuItem(SPPluginRef self, const char* key, const AIPlatformAddMenuItemDataUS* data, ASInt32 options,
                         AIMenuItemHandle* menuItem) {
    if (menuItem) *menuItem = nullptr;
    return guardedCall<Menus>([&](Menus& piece) -> AIErr {
        if (!data || !data->groupName) return kBadParameterErr;
        // A key names one item: a second item under the same key would make it ambiguous.
        bool keyTaken = false;
        if (key && *key)
            piece.items_.forEach([&](AIMenuItemHandle, const Item& item) { keyTaken = keyTaken || item.key == key; });
        if (keyTaken) return kBadParameterErr;
        AIMenuGroup group = piece.findGroup(data->groupName);
        if (!group) return kNameNotFoundErr;
        std::optional<std::string> text = textOf(piece.strings_, data->itemText);
        if (!text) return kBadHandleErr;
        AIMenuItemHandle added = piece.items_.add({self, key ? key : "", std::move(*text), options, group});
        piece.groups_.find(group)->items.push_back(added);
        if (menuItem) *menuItem = added;
        return kNoErr;
    });
}

AIErr Menus::addMenuGroupAsSubMenu(const char* name, ASInt32 options, AIMenuItemHandle menuItem, AIMenuGroup* group) {
    if (group) *group = nullptr;
    return guardedLookup(&Menus::items_, menuItem, [&](Menus& piece, Item& item) -> AIErr {
        // Groups are found by name, so a name stays with one group; an item opens one submenu.
        if (!name || piece.findGroup(name) || item.submenu) return kBadParameterErr;
        item.submenu = piece.addGroup(name, options, menuItem);
        if (group) *group = item.submenu;
        return kNoErr;
    });
}

AIErr Menus::countMenuGroups(ASInt32* count) {
    if (!count) return kBadParameterErr;
    return guardedCall<Menus>([&](Menus& piece) {
        *count = static_cast<ASInt32>(std::min<std::size_t>(piece.order_.size(), std::numeric_limits<ASInt32>::max()));
        return kNoErr;
    });
}

AIErr Menus::getNthMenuGroup(ASInt32 n, AIMenuGroup* group) {
    if (!group) return kBadParameterErr;
    *group = nullptr;
    return guardedCall<Menus>([&](Menus& piece) {
        if (n < 0 || static_cast<std::size_t>(n) >= piece.order_.size()) return kOutOfRangeErr;
        *group = piece.order_[static_cast<std::size_t>(n)];
        return kNoErr;
    });
}

AIErr Menus::getMenuGroupName(AIMenuGroup group, const char** name) {
    if (!name) return kBadParameterErr;
    return guardedLookup(&Menus::groups_, group, [&](Menus&, const Group& found) {
        *name = found.name.c_str();
        return kNoErr;
    });
}

AIErr Menus::setItemText(AIMenuItemHandle menuItem, AIUnicodeStringHandle text) {
    return guardedLookup(&Menus::items_, menuItem, [&](Menus& piece, Item& item) {
        std::optional<std::string> utf8 = textOf(piece.strings_, text);
        if (!utf8) return kBadHandleErr;
        item.text = std::move(*utf8);
        return kNoErr;
    });
}

}  // namespace host
