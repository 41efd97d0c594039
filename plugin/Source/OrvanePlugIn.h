// Orvane: the polyline tool, its annotator, panel, preferences and menus.
#pragma once

#include <optional>

#include "ModalDialogs.h"
#include "Plugin.h"
#include "PolylineTool.h"
#include "Settings.h"

class Panel;

class OrvanePlugIn : public Plugin, private SegmentSource {
public:
    /// The plug-in object while it exists: the host's C callbacks (the dialogs' notify and
    /// draw procedures) carry no object of their own and reach the plug-in's state here.
    static OrvanePlugIn* Current() { return sCurrent; }

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

    PolylineTool& tool() { return fTool; }
    const PolylineTool& tool() const { return fTool; }
    Settings& settings() { return fSettings; }
    PreferencesDialogState& preferencesDialog() { return fPreferencesDialog; }
    ModalDialogPlace& customScaleDialog() { return fCustomScaleDialog; }
    /// The panel, while it exists.
    Panel* panel() const { return fPanel; }
    /// The panel's dialog as built; null without a panel.
    ADMDialogRef panelDialog() const;
    AIToolHandle toolHandle() const { return fToolHandle; }
    /// The panel is shown and gives the segment under construction; with no panel (its
    /// memory refused) the cursor drives, as with the panel hidden.
    bool panelGivesSegment() const;

private:
    bool givesSegment() const override { return panelGivesSegment(); }
    void applyTypedSegment(ToolState& state) const override;

    static OrvanePlugIn* sCurrent;

    PolylineTool fTool;
    Settings fSettings;
    PreferencesDialogState fPreferencesDialog;
    ModalDialogPlace fCustomScaleDialog;
    AIToolHandle fToolHandle = nullptr;
    Panel* fPanel = nullptr;
    /// The panel's docking, read while the panel exists and stored at shutdown.
    std::optional<ASInt32> fPanelDockingCode;
    AIMenuItemHandle fShowHideMenuItem = nullptr;
    AIMenuItemHandle fAboutMenuItem = nullptr;
    AINotifierHandle fShutdownNotifier = nullptr;
    AIAnnotatorHandle fAnnotatorHandle = nullptr;
};

/// The running plug-in's settings and tool state, for the host's C callbacks.
inline Settings& CurrentSettings() {
    return OrvanePlugIn::Current()->settings();
}
/// The preferences dialog's working copy, assigned to the settings by its OK.
inline Settings& EditedSettings() {
    return OrvanePlugIn::Current()->preferencesDialog().edited;
}
inline ToolState& CurrentToolState() {
    return OrvanePlugIn::Current()->tool().state();
}
