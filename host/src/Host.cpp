#include "host/Host.h"

#include <iostream>
#include <utility>
#include <vector>

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
#include "host/RealMath.h"

namespace host {

namespace {

// Suites whose host pieces have not been written yet. Plug-ins acquire them at
// start-up; their tables hold no function until the pieces arrive.
void registerSuitesStillToCome(SuiteRegistry& registry) {
    static const AIUnusedSuite table = {0};
    for (auto [name, version] : {std::pair{kAIMenuSuite, kAIMenuSuiteVersion},
                                 {kADMDialogGroupSuite, kADMDialogGroupSuiteVersion},
                                 {kADMDialogSuite, kADMDialogSuiteVersion},
                                 {kADMItemSuite, kADMItemSuiteVersion},
                                 {kADMListSuite, kADMListSuiteVersion},
                                 {kADMNotifierSuite, kADMNotifierSuiteVersion},
                                 {kADMEntrySuite, kADMEntrySuiteVersion},
                                 {kADMTrackerSuite, kADMTrackerSuiteVersion},
                                 {kADMDrawerSuite, kADMDrawerSuiteVersion}})
        registry.add(name, version, &table);
}

// The platform event's kinds that tool messages carry.
constexpr ASUInt16 kNullEvent = 0;
constexpr ASUInt16 kMouseDownEvent = 1;
constexpr ASUInt16 kMouseUpEvent = 2;
/// A mouse presses with all its pressure.
constexpr AIReal kFullPressure = 1.0f;

PreferenceStore makeStore(const std::optional<std::filesystem::path>& file) {
    return file ? PreferenceStore(*file) : PreferenceStore();
}

}  // namespace

Host::Host(Options options)
    : options_(std::move(options)),
      preferences_(makeStore(options_.prefsFile)),
      plugins_(suites_, memory_),
      basic_(plugins_),
      icons_(plugins_),
      tools_(icons_) {
    if (!options_.warn) options_.warn = [](const std::string& line) { std::cerr << line << '\n'; };
    registerSuitesStillToCome(suites_);
    registerUnusedSuites(suites_);
    plugins_.registerSuites(suites_);
    preferences_.registerSuites(suites_);
    basic_.registerSuites(suites_);
    notifiers_.registerSuites(suites_);
    annotators_.registerSuites(suites_);
    strings_.registerSuites(suites_);
    drawer_.registerSuites(suites_);
    contexts_.registerSuites(suites_);
    realmath::registerSuites(suites_);
    views_.registerSuites(suites_);
    icons_.registerSuites(suites_);
    tools_.registerSuites(suites_);
    document_.registerSuites(suites_);
    hitTesting_.registerSuites(suites_);
    tools_.setSender([this](const Tools::Tool& tool, const char* selector, AIToolMessage& message) {
        std::size_t index = plugins_.indexOf(tool.plugin);
        return index < plugins_.count() ? plugins_.send(index, kCallerAITool, selector, message.d) : kNoErr;
    });
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

void Host::selectTool(const std::string& name) {
    AIToolHandle tool = tools_.find(name);
    if (!tool) throw HostError("the host has no tool \"" + name + "\"");
    tools_.select(tool);
    afterEvent();
}

void Host::deselect() {
    tools_.select(tools_.selectionTool());
    afterEvent();
}

void Host::editTool() {
    if (tools_.selected() == tools_.selectionTool()) throw HostError("no plug-in tool is selected");
    AIToolMessage message{};
    tools_.send(tools_.selected(), kSelectorAIEditToolOptions, message);
    afterEvent();
}

void Host::move(AIRealPoint cursor, ASUInt16 modifiers) {
    AIPoint where = viewPointOf(cursor);
    if (tools_.selectedTool().options & kToolWantsToTrackCursorOption)
        sendToTool(kSelectorAITrackToolCursor, cursor, where, kNullEvent, modifiers);
    afterEvent();
}

void Host::click(AIRealPoint cursor, ASUInt16 modifiers) {
    AIPoint where = viewPointOf(cursor);
    sendToTool(kSelectorAIToolMouseDown, cursor, where, kMouseDownEvent, modifiers);
    afterEvent();
    // The view may have moved meanwhile; the cursor stays on the same artwork point.
    sendToTool(kSelectorAIToolMouseUp, cursor, viewPointOf(cursor), kMouseUpEvent, modifiers);
    afterEvent();
}

AIPoint Host::viewPointOf(AIRealPoint cursor) const {
    std::optional<AIPoint> where = views_.artworkToView(cursor);
    if (!where) throw HostError("the cursor must be a finite point");
    return *where;
}

void Host::sendToTool(const char* selector, AIRealPoint cursor, AIPoint where, ASUInt16 what, ASUInt16 modifiers) {
    AIEvent event{};
    event.what = what;
    event.when = ++ticks_;
    event.where = where;
    event.modifiers = modifiers;
    AIToolMessage message{};
    message.cursor = cursor;
    message.pressure = kFullPressure;
    message.event = &event;
    tools_.send(tools_.selected(), selector, message);
}

void Host::afterEvent() {
    if (plugins_.insideCall()) return;
    tools_.carryOutRequests();
    if (views_.invalid()) redraw();
}

// Every redraw of the view happens here, after the messages of an event, never inside one.
void Host::redraw() {
    // Valid from here on: a plug-in that invalidates the view while it draws asks for the next redraw.
    views_.validate();
    // Listed first: an annotator may register or switch annotators while it draws.
    std::vector<std::pair<AIAnnotatorHandle, SPPluginRef>> active;
    annotators_.forEachActive([&](AIAnnotatorHandle handle, const Annotators::Annotator& annotator) {
        active.emplace_back(handle, annotator.plugin);
    });
    const AIRect whole = views_.bounds();
    DisplayList frame;
    for (auto [handle, plugin] : active) {
        std::size_t index = plugins_.indexOf(plugin);
        if (index >= plugins_.count()) continue;
        AIAnnotatorMessage message{};
        message.annotator = handle;
        message.view = views_.handle();
        message.drawer = drawer_.open();
        message.invalidationRects = &whole;
        message.numInvalidationRects = 1;
        plugins_.send(index, kCallerAIAnnotation, kSelectorAIDrawAnnotation, message.d);
        drawer_.close(message.drawer, frame);
    }
    frame_ = std::move(frame);
}

nlohmann::json Host::dumpHost() const {
    nlohmann::json out = nlohmann::json::object();
    out["started"] = started_;
    basic_.dump(out);
    plugins_.dump(out);
    notifiers_.dump(out);
    annotators_.dump(out);
    drawer_.dump(out);
    views_.dump(out);
    icons_.dump(out);
    tools_.dump(out);
    hitTesting_.dump(out);
    out["suites"] = {{"acquired", suites_.outstandingTotal()},
                     {"acquisitions", suites_.acquisitions()},
                     {"releases", suites_.releases()}};
    out["memory"] = {{"blocks", memory_.liveBlocks()}, {"bytes", memory_.liveBytes()}};
    out["contexts"] = contexts_.depth();
    return out;
}

}  // namespace host
