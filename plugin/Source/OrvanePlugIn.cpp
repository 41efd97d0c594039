#include "OrvanePlugIn.h"

#include <cstring>

#include "EcritLitPrefs.h"
#include "IThrowException.h"
#include "OrvaneSuites.h"
#include "Reglages.h"

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
    AddNotifiers(message);
    LitPrefs();
    return AddAnnotator(message);
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

ASErr OrvanePlugIn::Notify(AINotifierMessage*) { return kNoErr; }

ASErr OrvanePlugIn::ShutdownPlugin(SPInterfaceMessage* message) {
    sAIPreference->PutBooleanPreference(reglages::kPrefixe, reglages::kClePanneauVisible, PanneauVisible);
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
