// Orvane: the polyline tool, its annotator, panel, preferences and menus.
#pragma once

#include "Plugin.h"

class OrvaneDialogue;

class OrvanePlugIn : public Plugin {
public:
    explicit OrvanePlugIn(SPPluginRef pluginRef);
    ~OrvanePlugIn() override;

    ASErr StartupPlugin(SPInterfaceMessage* message) override;
    ASErr ShutdownPlugin(SPInterfaceMessage* message) override;
    ASErr Message(const char* caller, const char* selector, void* message) override;
    ASErr Notify(AINotifierMessage* message) override;

    ASErr AddNotifiers(SPInterfaceMessage* message);
    ASErr AddAnnotator(SPInterfaceMessage* message);

    AIAnnotatorHandle GetAnnotatorHandle() const { return fAnnotatorHandle; }

private:
    OrvaneDialogue* fPanel = nullptr;
    AIMenuItemHandle fShowHideMenuItem = nullptr;
    AIMenuItemHandle fAboutMenuItem = nullptr;
    AINotifierHandle fShutdownNotifier = nullptr;
    AIAnnotatorHandle fAnnotatorHandle = nullptr;
};
