#include "host/Host.h"

#include <iostream>

#include "ADMIcon.h"
#include "ADMSuites.h"
#include "AIAnnotator.h"
#include "AIArt.h"
#include "AICursorSnap.h"
#include "AIDocumentView.h"
#include "AIHitTest.h"
#include "AILayer.h"
#include "AIMenu.h"
#include "AIPath.h"
#include "AIRealMath.h"
#include "AITool.h"
#include "AIUnusedSuites.h"
#include "UnusedSuites.h"

namespace host {

namespace {

// Suites whose host pieces have not been written yet. Plug-ins acquire them at
// start-up; their tables hold no function until the pieces arrive.
void registerSuitesStillToCome(SuiteRegistry& registry) {
    static const AIUnusedSuite table = {0};
    for (auto [name, version] : {std::pair{kAIMenuSuite, kAIMenuSuiteVersion},
                                 {kAIRealMathSuite, kAIRealMathSuiteVersion},
                                 {kAIArtSuite, kAIArtSuiteVersion},
                                 {kAIPathSuite, kAIPathSuiteVersion},
                                 {kAIToolSuite, kAIToolSuiteVersion},
                                 {kADMDialogGroupSuite, kADMDialogGroupSuiteVersion},
                                 {kADMDialogSuite, kADMDialogSuiteVersion},
                                 {kADMItemSuite, kADMItemSuiteVersion},
                                 {kADMListSuite, kADMListSuiteVersion},
                                 {kADMNotifierSuite, kADMNotifierSuiteVersion},
                                 {kADMEntrySuite, kADMEntrySuiteVersion},
                                 {kADMTrackerSuite, kADMTrackerSuiteVersion},
                                 {kADMIconSuite, kADMIconSuiteVersion1},
                                 {kADMIconSuite, kADMIconSuiteVersion2},
                                 {kADMDrawerSuite, kADMDrawerSuiteVersion},
                                 {kAILayerSuite, kAILayerSuiteVersion},
                                 {kAIDocumentViewSuite, kAIDocumentViewSuiteVersion},
                                 {kAIAnnotatorDrawerSuite, kAIAnnotatorDrawerSuiteVersion},
                                 {kAICursorSnapSuite, kAICursorSnapSuiteVersion},
                                 {kAIHitTestSuite, kAIHitTestSuiteVersion},
                                 {kAIRealBezierSuite, kAIRealBezierSuiteVersion}})
        registry.add(name, version, &table);
}

PreferenceStore makeStore(const std::optional<std::filesystem::path>& file) {
    return file ? PreferenceStore(*file) : PreferenceStore();
}

}  // namespace

Host::Host(Options options)
    : options_(std::move(options)),
      preferences_(makeStore(options_.prefsFile)),
      plugins_(suites_, memory_),
      basic_(plugins_) {
    if (!options_.warn) options_.warn = [](const std::string& line) { std::cerr << line << '\n'; };
    registerSuitesStillToCome(suites_);
    registerUnusedSuites(suites_);
    plugins_.registerSuites(suites_);
    preferences_.registerSuites(suites_);
    basic_.registerSuites(suites_);
    notifiers_.registerSuites(suites_);
    annotators_.registerSuites(suites_);
    strings_.registerSuites(suites_);
    contexts_.registerSuites(suites_);
    if (std::optional<std::string> warning = preferences_.load()) options_.warn(*warning);
}

Host::~Host() = default;

void Host::start() {
    if (started_) throw HostError("the host has already started");
    plugins_.loadFolder(options_.pluginsDir);
    for (std::size_t i = 0; i < plugins_.count(); ++i) {
        SPInterfaceMessage message{};
        plugins_.send(i, kSPInterfaceCaller, kSPInterfaceStartupSelector, message.d);
    }
    started_ = true;
    notify(kAIApplicationStartedNotifier);
}

ASErr Host::send(const std::string& caller, const std::string& selector) {
    ASErr result = kNoErr;
    for (std::size_t i = 0; i < plugins_.count(); ++i) result = plugins_.sendPlain(i, caller.c_str(), selector.c_str());
    return result;
}

void Host::unload() {
    for (std::size_t i = 0; i < plugins_.count(); ++i) {
        SPInterfaceMessage message{};
        plugins_.send(i, kSPAccessCaller, kSPAccessUnloadSelector, message.d);
    }
}

void Host::reload() {
    for (std::size_t i = 0; i < plugins_.count(); ++i) {
        SPInterfaceMessage message{};
        plugins_.send(i, kSPAccessCaller, kSPAccessReloadSelector, message.d);
    }
}

void Host::quit() {
    if (!started_) throw HostError("the host has not started");
    notify(kAIApplicationShutdownNotifier);
    for (std::size_t i = 0; i < plugins_.count(); ++i) {
        SPInterfaceMessage message{};
        plugins_.send(i, kSPInterfaceCaller, kSPInterfaceShutdownSelector, message.d);
    }
    started_ = false;
    preferences_.save();
}

void Host::notify(const std::string& type) {
    notifiers_.forEach(type, [&](AINotifierHandle handle, const Notifiers::Notifier& notifier) {
        std::size_t index = plugins_.indexOf(notifier.plugin);
        if (index >= plugins_.count()) return;
        AINotifierMessage message{};
        message.notifier = handle;
        message.type = notifier.type.c_str();
        plugins_.send(index, kCallerAINotifier, kSelectorAINotify, message.d);
    });
}

nlohmann::json Host::dumpHost() const {
    nlohmann::json out = nlohmann::json::object();
    out["started"] = started_;
    basic_.dump(out);
    plugins_.dump(out);
    notifiers_.dump(out);
    annotators_.dump(out);
    out["suites"] = {{"acquired", suites_.outstandingTotal()},
                     {"acquisitions", suites_.acquisitions()},
                     {"releases", suites_.releases()}};
    out["memory"] = {{"blocks", memory_.liveBlocks()}, {"bytes", memory_.liveBytes()}};
    out["contexts"] = contexts_.depth();
    return out;
}

}  // namespace host
