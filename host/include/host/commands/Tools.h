// The toolbox: the tools plug-ins register, the host's own selection tool, and
// which tool is selected.
//
// A plug-in that selects a tool does so from inside one of its messages; the
// switch waits until that message has returned (carryOutRequests), so that the
// selection messages never re-enter the plug-in.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "AIMessages.h"
#include "AITool.h"
#include "host/dialogs/Icons.h"
#include "host/platform/Handles.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

class Tools {
public:
    /// The host's own tool: number 0, no plug-in behind it.
    static constexpr const char* kSelectionToolName = "Selection Tool";
    static constexpr AIToolType kSelectionToolNumber = 0;

    struct Tool {
        SPPluginRef plugin;  ///< null for the host's own tool
        std::string name;
        std::string title;
        std::string tooltip;
        AIToolType number;
        AIToolType group;
        AIToolType toolset;
        ASInt32 options;
        std::optional<ASInt32> icon;          ///< resource ID
        std::optional<ASInt32> rolloverIcon;  ///< resource ID
    };

    /// Delivers a tool message to the plug-in that registered the tool.
    using Sender = std::function<ASErr(const Tool& tool, const char* selector, SPMessageData& message)>;

    explicit Tools(const Icons& icons);
    ~Tools();
    void registerSuites(SuiteRegistry& registry);
    void setSender(Sender sender) { sender_ = std::move(sender); }

    /// Registers a plug-in's tool, as AddTool does: kBadParameterErr for a name already taken,
    /// kBadHandleErr for an icon the host did not give out, kOutOfRangeErr for an unknown group or toolset.
    AIErr add(SPPluginRef plugin, const std::string& name, const AIAddToolData& data, ASInt32 options,
              AIToolHandle* tool);
    /// The tool registered under name, or null.
    AIToolHandle find(const std::string& name) const;
    const Tool* tool(AIToolHandle handle) const { return tools_.find(handle); }
    AIToolHandle selectionTool() const { return selectionTool_; }
    /// Every tool, the host's first, then the plug-ins' in the order they were added.
    std::vector<AIToolHandle> all() const {
        std::vector<AIToolHandle> handles{selectionTool_};
        tools_.forEach([&](AIToolHandle handle, const Tool&) {
            if (handle != selectionTool_) handles.push_back(handle);
        });
        return handles;
    }

    AIToolHandle selected() const { return selected_; }
    const Tool& selectedTool() const { return *tools_.find(selected_); }
    /// Switches tools now: "AI Deselect" to the plug-in tool that was selected, "AI Select" to the new one.
    /// Selecting the selected tool again changes nothing.
    void select(AIToolHandle handle);
    /// A switch asked for inside a message, carried out by carryOutRequests.
    void requestSelection(AIToolHandle handle) { requests_.push_back(handle); }
    /// Carries out the switches asked for, in order.
    void carryOutRequests();

    /// Sends a tool message to the tool's plug-in, with the tool's handle in it; kNoErr for the host's tool.
    ASErr send(AIToolHandle handle, const char* selector, AIToolMessage& message);
    ASErr send(AIToolHandle handle, const char* selector, AIToolKeyMessage& message);

    void dump(nlohmann::json& out) const;

private:
    static AIErr addTool(SPPluginRef self, const char* name, const AIAddToolData* data, ASInt32 options,
                         AIToolHandle* tool);
    static AIErr getToolNumberFromName(const char* name, AIToolType* toolNum);
    static AIErr setToolRolloverIcon(AIToolHandle tool, ADMIconRef icon);
    static AIErr getSelectedTool(AIToolHandle* tool);
    static AIErr setSelectedTool(AIToolHandle tool);

    bool knownNumber(AIToolType number) const;
    /// The tool's record, with its handle set, to the tool's plug-in.
    template <class Record>
    ASErr deliver(AIToolHandle handle, const char* selector, Record& message);

    const Icons& icons_;
    HandleTable<AIToolHandle, Tool> tools_;
    AIToolHandle selectionTool_;
    AIToolHandle selected_;
    AIToolType lastNumber_ = kSelectionToolNumber;
    std::deque<AIToolHandle> requests_;
    Sender sender_;
};

}  // namespace host
