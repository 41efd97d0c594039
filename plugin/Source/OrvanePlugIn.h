// Orvane: the polyline tool, its annotator, panel, preferences and menus.
#pragma once

#include <optional>

#include "Plugin.h"

class OrvaneDialogue;

class OrvanePlugIn : public Plugin {
public:
    explicit OrvanePlugIn(SPPluginRef pluginRef);
    ~OrvanePlugIn() override;

    ASErr StartupPlugin(SPInterfaceMessage* message) override;
    ASErr PostStartupPlugin() override;
    ASErr ShutdownPlugin(SPInterfaceMessage* message) override;
    ASErr Message(const char* caller, const char* selector, void* message) override;
    ASErr Notify(AINotifierMessage* message) override;

    ASErr SelectTool(AIToolMessage* message) override;
    ASErr DeselectTool(AIToolMessage* message) override;
    ASErr EditTool(AIToolMessage* message) override;
    ASErr TrackToolCursor(AIToolMessage* message) override;
    ASErr ToolMouseDown(AIToolMessage* message) override;
    ASErr ToolMouseUp(AIToolMessage* message) override;
    ASErr ToolMouseDrag(AIToolMessage* message) override;

    ASErr GoMenuItem(AIMenuMessage* message) override;
    ASErr UpdateMenuItem(AIMenuMessage* message) override;

    ASErr AddMenus(SPInterfaceMessage* message);
    ASErr AddNotifiers(SPInterfaceMessage* message);
    ASErr AddTools(SPInterfaceMessage* message);
    ASErr AddAnnotator(SPInterfaceMessage* message);

    AIAnnotatorHandle GetAnnotatorHandle() const { return fAnnotatorHandle; }

private:
    OrvaneDialogue* fPanel = nullptr;
    /// The panel's docking, read while the panel exists and stored at shutdown.
    std::optional<ASInt32> fCodeAncragePanneau;
    AIMenuItemHandle fShowHideMenuItem = nullptr;
    AIMenuItemHandle fAboutMenuItem = nullptr;
    AINotifierHandle fShutdownNotifier = nullptr;
    AIAnnotatorHandle fAnnotatorHandle = nullptr;
};
