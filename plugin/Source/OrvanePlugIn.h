// Orvane: the polyline tool, its annotator, panel, preferences and menus.
#pragma once

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
    ASErr TrackToolCursor(AIToolMessage* message) override;
    ASErr ToolMouseDown(AIToolMessage* message) override;
    ASErr ToolMouseUp(AIToolMessage* message) override;
    ASErr ToolMouseDrag(AIToolMessage* message) override;

    ASErr AddNotifiers(SPInterfaceMessage* message);
    ASErr AddTools(SPInterfaceMessage* message);
    ASErr AddAnnotator(SPInterfaceMessage* message);

    AIAnnotatorHandle GetAnnotatorHandle() const { return fAnnotatorHandle; }

private:
    OrvaneDialogue* fPanel = nullptr;
    AIMenuItemHandle fShowHideMenuItem = nullptr;
    AIMenuItemHandle fAboutMenuItem = nullptr;
    AINotifierHandle fShutdownNotifier = nullptr;
    AIAnnotatorHandle fAnnotatorHandle = nullptr;
};
