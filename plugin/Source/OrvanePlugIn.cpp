#include "OrvanePlugIn.h"

#include <cstring>

#include "Dialogues.h"
#include "IThrowException.h"
#include "OrvaneAnnotations.h"
#include "OrvaneDialogue.h"
#include "OrvaneSuites.h"
#include "Reglages.h"
#include "Survol.h"

namespace {

constexpr const char* kNomPlugIn = "Orvane";
constexpr const char* kNomNotifierFermeture = "OrvaneAI Application Shutdown Notifier";
constexpr const char* kNomAnnotateur = "TeskAnno";

}  // namespace

Plugin* AllocatePlugin(SPPluginRef pluginRef) { return new (std::nothrow) OrvanePlugIn(pluginRef); }

OrvanePlugIn::OrvanePlugIn(SPPluginRef pluginRef) : Plugin(pluginRef) {
    std::strncpy(fPluginName, kNomPlugIn, kMaxStringLength);
    fPluginName[kMaxStringLength - 1] = '\0';
}

OrvanePlugIn::~OrvanePlugIn() = default;

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
    fPanel = new (std::nothrow) OrvaneDialogue(fPluginRef);
    if (!fPanel) {
        // The panel derives the drawing scale and places the modal dialogs when it is
        // built; without it the labels and the dialogs still need them.
        Echelle = EchelleNum / EchelleDen;
        sADMBasic->GetScreenDimensions(&RectEcranTotal);
        PlaceDialogues();
        return kOutOfMemoryErr;
    }
    fPanel->ActiveZones(false);
    return kNoErr;
}

ASErr OrvanePlugIn::AddNotifiers(SPInterfaceMessage* message) {
    return sAINotifier->AddNotifier(message->d.self, kNomNotifierFermeture, kAIApplicationShutdownNotifier,
                                    &fShutdownNotifier);
}

ASErr OrvanePlugIn::AddAnnotator(SPInterfaceMessage* message) {
    ASErr error = sAIAnnotator->AddAnnotator(message->d.self, kNomAnnotateur, &fAnnotatorHandle);
    if (!error) error = sAIAnnotator->SetAnnotatorActive(fAnnotatorHandle, false);
    return error;
}

ASErr OrvanePlugIn::Notify(AINotifierMessage* message) {
    if (message->notifier == fShutdownNotifier && fPanel) {
        // The shutdown message comes after the panel has gone: its docking is read now.
        fCodeAncragePanneau = fPanel->CodeAncrage();
        delete fPanel;
        fPanel = nullptr;
    }
    return kNoErr;
}

ASErr OrvanePlugIn::ShutdownPlugin(SPInterfaceMessage* message) {
    // Without the application-shutdown notification the panel is still there to ask.
    if (fPanel) fCodeAncragePanneau = fPanel->CodeAncrage();
    if (fCodeAncragePanneau)
        sAIPreference->PutIntegerPreference(panneau::kNom, panneau::kCleAncrage, *fCodeAncragePanneau);
    sAIPreference->PutBooleanPreference(reglages::kPrefixe, reglages::kClePanneauVisible, PanneauVisible);
    // The host quits without deselecting the tool: its remembered points go here.
    LibereSouvenirs();
    message->d.globals = nullptr;
    return Plugin::ShutdownPlugin(message);
}

ASErr OrvanePlugIn::Message(const char* caller, const char* selector, void* message) {
    ASErr error;
    try {
        error = Plugin::Message(caller, selector, message);
        // The frame has no operation for the annotator's drawing pass.
        if (error == kUnhandledMsgErr && std::strcmp(caller, kCallerAIAnnotation) == 0 &&
            std::strcmp(selector, kSelectorAIDrawAnnotation) == 0)
            error = toolAnnotate(static_cast<AIAnnotatorMessage*>(message));
    } catch (const ai::Error& failure) {
        error = failure;
    } catch (...) {
        error = kCantHappenErr;
    }
    if (error == kNoErr || error == kUnhandledMsgErr) return error;
    Plugin::ReportError(error, caller, selector, message);
    return error;
}
