#include "host/commands/Tools.h"

namespace host {

using Active = ActivePiece<Tools>;

namespace {

std::string textOr(const char* text) {
    return text ? text : "";
}

}  // namespace

Tools::Tools(const Icons& icons) : icons_(icons) {
    selectionTool_ = tools_.add({nullptr, kSelectionToolName, kSelectionToolName, kSelectionToolName,
                                 kSelectionToolNumber, kNoTool, kNoTool, 0, std::nullopt, std::nullopt});
    selected_ = selectionTool_;
}

Tools::~Tools() {
    Active::clear(this);
}

void Tools::registerSuites(SuiteRegistry& registry) {
    static const AIToolSuite suite = {&addTool, &getToolNumberFromName, &setToolRolloverIcon, &getSelectedTool,
                                      &setSelectedTool};
    Active::set(this);
    registry.add(kAIToolSuite, kAIToolSuiteVersion, &suite);
}

bool Tools::knownNumber(AIToolType number) const {
    bool known = false;
    tools_.forEach([&](AIToolHandle, const Tool& tool) { known = known || tool.number == number; });
    return known;
}

AIErr Tools::add(SPPluginRef plugin, const std::string& name, const AIAddToolData& data, ASInt32 options,
                 AIToolHandle* tool) {
    if (tool) *tool = nullptr;
    if (!tool || find(name)) return kBadParameterErr;
    std::optional<ASInt32> icon;
    if (data.icon) {
        const Icons::Icon* found = icons_.find(data.icon);
        if (!found) return kBadHandleErr;
        icon = found->resourceID;
    }
    for (AIToolType placement : {data.sameGroupAs, data.sameToolsetAs})
        if (placement != kNoTool && !knownNumber(placement)) return kOutOfRangeErr;
    *tool = tools_.add({plugin, name, textOr(data.title), textOr(data.tooltip), ++lastNumber_, data.sameGroupAs,
                        data.sameToolsetAs, options, icon, std::nullopt});
    return kNoErr;
}

AIToolHandle Tools::find(const std::string& name) const {
    AIToolHandle found = nullptr;
    tools_.forEach([&](AIToolHandle handle, const Tool& tool) {
        if (!found && tool.name == name) found = handle;
    });
    return found;
}

void Tools::select(AIToolHandle handle) {
    if (handle == selected_ || !tools_.find(handle)) return;
    AIToolMessage deselect{};
    send(selected_, kSelectorAIDeselectTool, deselect);
    selected_ = handle;
    AIToolMessage select{};
    send(selected_, kSelectorAISelectTool, select);
}

void Tools::carryOutRequests() {
    while (!requests_.empty()) {
        AIToolHandle next = requests_.front();
        requests_.pop_front();
        select(next);
    }
}

template <class Record>
ASErr Tools::deliver(AIToolHandle handle, const char* selector, Record& message) {
    const Tool* found = tools_.find(handle);
    if (!found || !found->plugin || !sender_) return kNoErr;
    message.tool = handle;
    return sender_(*found, selector, message.d);
}

ASErr Tools::send(AIToolHandle handle, const char* selector, AIToolMessage& message) {
    return deliver(handle, selector, message);
}

ASErr Tools::send(AIToolHandle handle, const char* selector, AIToolKeyMessage& message) {
    return deliver(handle, selector, message);
}

void Tools::dump(nlohmann::json& out) const {
    out["selectedTool"] = selectedTool().name;
    auto& list = out["tools"] = nlohmann::json::array();
    tools_.forEach([&](AIToolHandle handle, const Tool& tool) {
        if (handle == selectionTool_) return;
        nlohmann::json icons = nlohmann::json::array();
        for (const std::optional<ASInt32>& icon : {tool.icon, tool.rolloverIcon})
            if (icon) icons.push_back(*icon);
        list.push_back({{"name", tool.name},
                        {"title", tool.title},
                        {"tooltip", tool.tooltip},
                        {"group", tool.group},
                        {"toolset", tool.toolset},
                        {"icons", icons}});
    });
}

AIErr Tools::addTool(SPPluginRef self, const char* name, const AIAddToolData* data, ASInt32 options,
                     AIToolHandle* tool) {
    if (tool) *tool = nullptr;
    return guardedCall<Tools>([&](Tools& piece) {
        if (!name || !data) return kBadParameterErr;
        return piece.add(self, name, *data, options, tool);
    });
}

AIErr Tools::getToolNumberFromName(const char* name, AIToolType* toolNum) {
    if (!name || !toolNum) return kBadParameterErr;
    return guardedCall<Tools>([&](Tools& piece) {
        const Tool* found = piece.tool(piece.find(name));
        if (!found) return kNameNotFoundErr;
        *toolNum = found->number;
        return kNoErr;
    });
}

AIErr Tools::setToolRolloverIcon(AIToolHandle tool, ADMIconRef icon) {
    return guardedLookup(&Tools::tools_, tool, [&](Tools& piece, Tool& found) {
        if (!found.plugin) return kBadHandleErr;
        const Icons::Icon* image = piece.icons_.find(icon);
        if (!image) return kBadHandleErr;
        found.rolloverIcon = image->resourceID;
        return kNoErr;
    });
}

AIErr Tools::getSelectedTool(AIToolHandle* tool) {
    if (!tool) return kBadParameterErr;
    *tool = nullptr;
    return guardedCall<Tools>([&](Tools& piece) {
        *tool = piece.selected_;
        return kNoErr;
    });
}

AIErr Tools::setSelectedTool(AIToolHandle tool) {
    return guardedLookup(&Tools::tools_, tool, [&](Tools& piece, Tool&) {
        piece.requestSelection(tool);
        return kNoErr;
    });
}

}  // namespace host
