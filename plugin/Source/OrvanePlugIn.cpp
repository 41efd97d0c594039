#include "OrvanePlugIn.h"

#include <cstring>

#include "Annotations.h"
#include "IThrowException.h"
#include "Menus.h"
#include "OrvaneSuites.h"
#include "Panel.h"

namespace {

constexpr const char* kPluginName = "Orvane";
constexpr const char* kShutdownNotifierName = "OrvaneAI Application Shutdown Notifier";
constexpr const char* kAnnotatorName = "TeskAnno";

constexpr const char* kToolName = "Orvane Tool";
constexpr const char* kToolTip = "Orvane Tool 1.3";
constexpr ASInt32 kToolIcon = 1017;
constexpr ASInt32 kToolRolloverIcon = 1018;
/// The tool joins the toolbox group of the first of these that the host has.
constexpr const char* kNeighbourTools[] = {"Varnel Tool", "Quiblet Tool", "Strovan Tool"};

AIToolType NeighbourToolGroup() {
    for (const char* name : kNeighbourTools) {
        AIToolType number = kNoTool;
        if (sAITool->GetToolNumberFromName(name, &number) == kNoErr) return number;
    }
    return kNoTool;
}

}  // namespace

Plugin* AllocatePlugin(SPPluginRef pluginRef) {
    return new (std::nothrow) OrvanePlugIn(pluginRef);
}

OrvanePlugIn::OrvanePlugIn(SPPluginRef pluginRef) : Plugin(pluginRef) {
    std::strncpy(fPluginName, kPluginName, kMaxStringLength);
    fPluginName[kMaxStringLength - 1] = '\0';
}

OrvanePlugIn::~OrvanePlugIn() = default;

bool OrvanePlugIn::panelGivesSegment() const {
    return fSettings.panelVisible && panelDialog();
}

TypedSegment OrvanePlugIn::typedSegment() const {
    return fPanel->TypedSegmentInFields();
}

ADMDialogRef OrvanePlugIn::panelDialog() const {
    return fPanel ? fPanel->BuiltDialog() : nullptr;
}

ASErr OrvanePlugIn::AddTools(SPInterfaceMessage* message) {
    // The settings must be in force before the tool can be used.
    LoadSettings(fSettings);

    const ADMIconRef icon = sADMIcon->GetFromResource(message->d.self, nullptr, kToolIcon, 0);
    if (sADMIcon->GetType(icon) == kADMUnknownIconType) {
        sADMIcon->Destroy(icon);
        return kNoErr;
    }
    const AIAddToolData data = {kToolName, kToolTip, 0, icon, NeighbourToolGroup(), kNoTool};
    const ASErr error =
        sAITool->AddTool(message->d.self, kToolName, &data, kToolWantsToTrackCursorOption, &fToolHandle);
    if (error) return error;

    const ADMIconRef rolloverIcon = sADMIcon->GetFromResource(message->d.self, nullptr, kToolRolloverIcon, 0);
    return sAITool->SetToolRolloverIcon(fToolHandle, rolloverIcon);
}

ASErr OrvanePlugIn::SelectTool(AIToolMessage* message) {
    fSettings.decimalSeparator = ',';
    fTool.select();
    sADMBasic->SetPlatformCursor(message->d.self, cursors::kNormal);
    const ASErr error = sAIAnnotator->SetAnnotatorActive(fAnnotatorHandle, true);
    if (fPanel) fPanel->EnableForTool(true);
    return error;
}

ASErr OrvanePlugIn::DeselectTool(AIToolMessage*) {
    fTool.deselect();
    if (fPanel) fPanel->EnableForTool(false);
    return sAIAnnotator->SetAnnotatorActive(fAnnotatorHandle, false);
}

ASErr OrvanePlugIn::EditTool(AIToolMessage*) {
    // A double-click on the tool's icon; the dialog's result is not needed.
    fPreferencesDialog.open(panelDialog());
    return kNoErr;
}

ASErr OrvanePlugIn::TrackToolCursor(AIToolMessage* message) {
    return fTool.trackCursor(message, fSettings, *this);
}

ASErr OrvanePlugIn::ToolMouseDown(AIToolMessage* message) {
    const ASUInt16 keys = message->event ? message->event->modifiers : 0;
    fTool.pressShift((keys & shiftKey) != 0);
    if (keys & optionKey) {
        // Option-click shows or hides the panel; the polyline does not change. Without a
        // panel the segment must keep following the cursor.
        if (!fPanel) return kNoErr;
        fSettings.panelVisible = !fSettings.panelVisible;
        if (fSettings.panelVisible) {
            fPanel->FillFields(fTool.currentState());
            fPanel->FocusLengthField();
        }
        sADMDialog->Show(panelDialog(), fSettings.panelVisible);
        return kNoErr;
    }
    return fTool.mouseDown(message, fSettings, *this);
}

ASErr OrvanePlugIn::ToolMouseUp(AIToolMessage*) {
    // A length can be typed right after a click.
    if (panelGivesSegment()) fPanel->FocusLengthField();
    return kNoErr;
}

ASErr OrvanePlugIn::ToolMouseDrag(AIToolMessage*) {
    return kNoErr;
}

ASErr OrvanePlugIn::ToolKeyDown(AIToolKeyMessage* message) {
    const ASErr error = fTool.keyDown(message, fSettings, *this);
    // With the panel shown, what is typed at the cursor goes to its fields: the panel shows what a
    // click places, and Escape empties them.
    if (message->used && panelGivesSegment()) {
        if (message->character == kAIEscapeKey)
            fPanel->EmptyFields();
        else
            fPanel->ShowTypedEntry(fTool.currentState());
    }
    return error;
}

ASErr OrvanePlugIn::DrawAnnotation(AIAnnotatorMessage* message) {
    return Annotate(message, fTool, fSettings, panelGivesSegment());
}

ASErr OrvanePlugIn::StartupPlugin(SPInterfaceMessage* message) {
    ASErr error = Plugin::StartupPlugin(message);
    if (error) return error;
    AddMenus(message);
    AddNotifiers(message);
    AddTools(message);
    return AddAnnotator(message);
}

ASErr OrvanePlugIn::PostStartupPlugin() {
    if (fPanel) return kNoErr;
    fPanel = new (std::nothrow) Panel(fPluginRef, fTool, fSettings, fPreferencesDialog, fToolHandle);
    if (!fPanel) {
        // The panel places the modal dialogs when it is built; without it the dialogs
        // still need a place.
        ASRect screen = {0, 0, 0, 0};
        sADMBasic->GetScreenDimensions(&screen);
        fPreferencesDialog.place(screen);
        return kOutOfMemoryErr;
    }
    fPanel->EnableForTool(false);
    return kNoErr;
}

ASErr OrvanePlugIn::AddNotifiers(SPInterfaceMessage* message) {
    return sAINotifier->AddNotifier(message->d.self, kShutdownNotifierName, kAIApplicationShutdownNotifier,
                                    &fShutdownNotifier);
}

ASErr OrvanePlugIn::AddAnnotator(SPInterfaceMessage* message) {
    ASErr error = sAIAnnotator->AddAnnotator(message->d.self, kAnnotatorName, &fAnnotatorHandle);
    if (!error) error = sAIAnnotator->SetAnnotatorActive(fAnnotatorHandle, false);
    return error;
}

ASErr OrvanePlugIn::Notify(AINotifierMessage* message) {
    if (message->notifier == fShutdownNotifier && fPanel) {
        // The shutdown message comes after the panel has gone: its docking is read now.
        fPanelDockingCode = fPanel->DockingCode();
        delete fPanel;
        fPanel = nullptr;
    }
    return kNoErr;
}

ASErr OrvanePlugIn::ShutdownPlugin(SPInterfaceMessage* message) {
    // Without the application-shutdown notification the panel is still there to ask.
    if (fPanel) fPanelDockingCode = fPanel->DockingCode();
    StorePanelState(fSettings, fPanelDockingCode);
    // The host quits without deselecting the tool: its remembered points go here.
    fTool.shutdown();
    message->d.globals = nullptr;
    return Plugin::ShutdownPlugin(message);
}

ASErr OrvanePlugIn::Message(const char* caller, const char* selector, void* message) {
    ASErr error;
    try {
        error = Plugin::Message(caller, selector, message);
    } catch (const ai::Error& failure) {
        error = failure;
    } catch (...) {
        error = kCantHappenErr;
    }
    if (error == kNoErr || error == kUnhandledMsgErr) return error;
    Plugin::ReportError(error, caller, selector, message);
    return error;
}

ASErr OrvanePlugIn::AddMenus(SPInterfaceMessage* message) {
    return fMenus.add(message);
}

ASErr OrvanePlugIn::GoMenuItem(AIMenuMessage* message) {
    if (message->menuItem) fMenus.choose(message->menuItem, message->d.self, fPanel, fSettings);
    return kNoErr;
}

ASErr OrvanePlugIn::UpdateMenuItem(AIMenuMessage* message) {
    Menus::update(message->menuItem, fPanel);
    return kNoErr;
}
