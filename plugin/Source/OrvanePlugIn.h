// Orvane: the polyline tool, its annotator, panel, preferences and menus. The plug-in
// object owns them all and is their one entry: the frame hands it the host's messages.
#pragma once

#include <optional>

#include "Menus.h"
#include "Plugin.h"
#include "PolylineTool.h"
#include "PreferencesDialog.h"
#include "Settings.h"

class Panel;

class OrvanePlugIn : public Plugin, private SegmentSource {
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
    ASErr ToolKeyDown(AIToolKeyMessage* message) override;
    ASErr DrawAnnotation(AIAnnotatorMessage* message) override;

    ASErr GoMenuItem(AIMenuMessage* message) override;
    ASErr UpdateMenuItem(AIMenuMessage* message) override;

    ASErr AddMenus(SPInterfaceMessage* message);
    ASErr AddNotifiers(SPInterfaceMessage* message);
    ASErr AddTools(SPInterfaceMessage* message);
    ASErr AddAnnotator(SPInterfaceMessage* message);

    /// The tool, for checks from outside that reach the object through the globals slot.
    const PolylineTool& tool() const { return fTool; }

private:
    /// The panel's dialog as built; null without a panel.
    ADMDialogRef panelDialog() const;
    /// The panel is shown and gives the segment under construction; with no panel (its
    /// memory refused) the cursor drives, as with the panel hidden.
    bool panelGivesSegment() const;

    bool givesSegment() const override { return panelGivesSegment(); }
    TypedSegment typedSegment() const override;

    PolylineTool fTool;
    Settings fSettings;
    PreferencesDialog fPreferencesDialog{fSettings};
    AIToolHandle fToolHandle = nullptr;
    Panel* fPanel = nullptr;
    /// The panel's docking, read while the panel exists and stored at shutdown.
    std::optional<ASInt32> fPanelDockingCode;
    Menus fMenus;
    AINotifierHandle fShutdownNotifier = nullptr;
    AIAnnotatorHandle fAnnotatorHandle = nullptr;
};
