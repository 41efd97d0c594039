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
#include "AIPath.h"
#include "AIRealMath.h"
#include "AITool.h"
#include "host/document/Svg.h"
#include "host/platform/RealMath.h"
#include "platform/UnusedSuites.h"

namespace host {

namespace {

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
    registerUnusedSuites(suites_);
    plugins_.registerSuites(suites_);
    preferences_.registerSuites(suites_);
    basic_.registerSuites(suites_);
    notifiers_.registerSuites(suites_);
    annotators_.registerSuites(suites_);
    strings_.registerSuites(suites_);
    menus_.registerSuites(suites_);
    drawer_.registerSuites(suites_);
    contexts_.registerSuites(suites_);
    realmath::registerSuites(suites_);
    views_.registerSuites(suites_);
    icons_.registerSuites(suites_);
    tools_.registerSuites(suites_);
    document_.registerSuites(suites_);
    hitTesting_.registerSuites(suites_);
    dialogs_.registerSuites(suites_);
    tools_.setSender([this](const Tools::Tool& tool, const char* selector, SPMessageData& message) {
        std::size_t index = plugins_.indexOf(tool.plugin);
        return index < plugins_.count() ? plugins_.send(index, kCallerAITool, selector, message) : kNoErr;
    });
    document_.setRefusalObserver([this](const std::string& reason) {
        basic_.beep();
        refusal_ = reason;
    });
    if (std::optional<std::string> warning = preferences_.load()) options_.warn(*warning);
}

Host::~Host() = default;

void Host::start() {
    History::Group step(history_);
    if (started_) throw HostError("the host has already started");
    // The modules stay loaded with what their plug-ins left in them: a host starts once.
    if (quit_) throw HostError("the host has quit and can't start again");
    plugins_.loadFolder(options_.pluginsDir);
    for (std::size_t i = 0; i < plugins_.count(); ++i) {
        SPInterfaceMessage message{};
        plugins_.send(i, kSPInterfaceCaller, kSPInterfaceStartupSelector, message.d);
    }
    started_ = true;
    notify(kAIApplicationStartedNotifier);
    // Only what start-up built is drawn: the view waits for the first event.
    dialogs_.drawPending();
    dialogs_.throwPendingError();
}

ASErr Host::send(const std::string& caller, const std::string& selector) {
    // The messages that start, unload, reload and shut a plug-in down come with the host's own
    // bookkeeping (what is loaded, what was shut down); sent by name they are the host's own.
    if (caller == kSPAccessCaller && selector == kSPAccessUnloadSelector) return unload(), kNoErr;
    if (caller == kSPAccessCaller && selector == kSPAccessReloadSelector) return reload(), kNoErr;
    if (caller == kSPInterfaceCaller && selector == kSPInterfaceStartupSelector) return start(), kNoErr;
    if (caller == kSPInterfaceCaller && selector == kSPInterfaceShutdownSelector) return quit(), kNoErr;
    ASErr result = kNoErr;
    for (std::size_t i = 0; i < plugins_.count(); ++i) result = plugins_.sendPlain(i, caller.c_str(), selector.c_str());
    return result;
}

void Host::unload() {
    // A plug-in is never unloaded, reloaded or shut down while its code runs: a modal dialog of its own.
    checkIdle("unload the plug-ins");
    for (std::size_t i = 0; i < plugins_.count(); ++i) {
        // A plug-in that locked itself (its palette's procedures are called directly) stays loaded.
        if (!plugins_.loaded(i) || plugins_.locks(i) > 0) continue;
        SPInterfaceMessage message{};
        plugins_.send(i, kSPAccessCaller, kSPAccessUnloadSelector, message.d);
        plugins_.setLoaded(i, false);
    }
}

void Host::reload() {
    checkIdle("reload the plug-ins");
    reloadUnloaded();
}

void Host::reloadUnloaded() {
    for (std::size_t i = 0; i < plugins_.count(); ++i) {
        if (plugins_.loaded(i)) continue;
        SPInterfaceMessage message{};
        plugins_.send(i, kSPAccessCaller, kSPAccessReloadSelector, message.d);
        plugins_.setLoaded(i, true);
    }
}

void Host::quit() {
    checkIdle("quit");
    History::Group step(history_);
    if (!started_) throw HostError("the host has not started");
    // Every plug-in hears its shutdown loaded, so that it can still save its settings and give back
    // what it holds.
    reloadUnloaded();
    notify(kAIApplicationShutdownNotifier);
    for (std::size_t i = 0; i < plugins_.count(); ++i) {
        SPInterfaceMessage message{};
        plugins_.send(i, kSPInterfaceCaller, kSPInterfaceShutdownSelector, message.d);
    }
    started_ = false;
    quit_ = true;
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
    History::Group step(history_);
    AIToolHandle tool = tools_.find(name);
    if (!tool) throw HostError("the host has no tool \"" + name + "\"");
    tools_.select(tool);
    afterEvent();
}

void Host::deselect() {
    History::Group step(history_);
    tools_.select(tools_.selectionTool());
    afterEvent();
}

void Host::editTool() {
    History::Group step(history_);
    if (tools_.selected() == tools_.selectionTool()) throw HostError("no plug-in tool is selected");
    AIToolMessage message{};
    tools_.send(tools_.selected(), kSelectorAIEditToolOptions, message);
    afterEvent();
}

void Host::move(AIRealPoint cursor, ASUInt16 modifiers) {
    History::Group step(history_);
    AIPoint where = viewPointOf(cursor);
    if (tools_.selectedTool().options & kToolWantsToTrackCursorOption)
        sendToTool(kSelectorAITrackToolCursor, cursor, where, kNullEvent, modifiers);
    afterEvent();
}

void Host::click(AIRealPoint cursor, ASUInt16 modifiers) {
    History::Group step(history_);
    AIPoint where = viewPointOf(cursor);
    sendToTool(kSelectorAIToolMouseDown, cursor, where, kMouseDownEvent, modifiers);
    afterEvent();
    // The view may have moved meanwhile; the cursor stays on the same artwork point.
    sendToTool(kSelectorAIToolMouseUp, cursor, viewPointOf(cursor), kMouseUpEvent, modifiers);
    afterEvent();
}

bool Host::key(ASUInt32 character, ASUInt16 modifiers) {
    History::Group step(history_);
    AIToolKeyMessage message{};
    message.character = character;
    message.modifiers = modifiers;
    tools_.send(tools_.selected(), kSelectorAIToolKeyDown, message);
    afterEvent();
    return message.used != 0;
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

void Host::updateMenus() {
    for (AIMenuItemHandle handle : menus_.itemsWantingUpdate()) {
        std::size_t index = plugins_.indexOf(menus_.item(handle)->plugin);
        if (index >= plugins_.count()) continue;
        AIMenuMessage message{};
        message.menuItem = handle;
        plugins_.send(index, kCallerAIMenu, kSelectorAIUpdateMenuItem, message.d);
    }
}

ASErr Host::chooseMenuItem(const std::string& textUtf8) {
    History::Group step(history_);
    updateMenus();
    AIMenuItemHandle handle = menus_.findCommand(textUtf8);
    if (!handle) {
        // The menus were opened all the same: what the updates asked for is carried out.
        afterEvent();
        throw HostError("the menus have no item \"" + textUtf8 + "\"");
    }
    ASErr result = kNoErr;
    std::size_t index = plugins_.indexOf(menus_.item(handle)->plugin);
    if (index < plugins_.count()) {
        AIMenuMessage message{};
        message.menuItem = handle;
        result = plugins_.send(index, kCallerAIMenu, kSelectorAIGoMenuItem, message.d);
    }
    afterEvent();
    return result;
}

void Host::checkIdle(const char* what) const {
    if (plugins_.insideCall() || dialogs_.busy() || history_.grouping())
        throw HostError(std::string("can't ") + what + " while another action is under way");
}

bool Host::undo() {
    checkIdle("undo");
    bool done = history_.undo();
    // What the plug-ins draw over the art may depend on it.
    if (done) views_.invalidate();
    afterEvent();
    return done;
}

bool Host::redo() {
    checkIdle("redo");
    bool done = history_.redo();
    if (done) views_.invalidate();
    afterEvent();
    return done;
}

void Host::newDocument() {
    checkIdle("start a new document");
    document_.clear();
    history_.clear();
    views_.invalidate();
    afterEvent();
}

std::vector<SvgWarning> Host::openSvg(const std::filesystem::path& file) {
    checkIdle("open a file");
    // Read whole before the document is touched: a bad file leaves it as it was.
    SvgDrawing drawing = importSvg(file);
    std::vector<SvgWarning> warnings = std::move(drawing.warnings);
    document_.clear();
    placeDrawing(document_, std::move(drawing));
    history_.clear();
    views_.invalidate();
    afterEvent();
    return warnings;
}

void Host::saveSvg(const std::filesystem::path& file) const {
    host::saveSvg(document_, file);
}

void Host::edit(const std::function<void(Document&)>& change) {
    checkIdle("change the document");
    {
        History::Group step(history_);
        change(document_);
    }
    afterEvent();
}

void Host::afterEvent() {
    if (plugins_.insideCall() || dialogs_.busy()) return;
    tools_.carryOutRequests();
    dialogs_.drawPending();
    if (views_.invalid()) redraw();
    dialogs_.throwPendingError();
}

ADMItemRef Host::itemOf(ADMDialogRef dialog, ASInt32 itemID) const {
    if (!dialogs_.dialog(dialog)) throw HostError("the dialog is gone");
    ADMItemRef item = dialogs_.findItem(dialog, itemID);
    if (!item) throw HostError("the dialog \"" + dialogs_.titleOf(dialog) + "\" has no item " + std::to_string(itemID));
    return item;
}

void Host::typeIntoItem(ADMDialogRef dialog, ASInt32 itemID, const std::string& text) {
    History::Group step(history_);
    dialogs_.type(itemOf(dialog, itemID), text);
    afterEvent();
}

void Host::pickPreset(ADMDialogRef dialog, ASInt32 itemID, ASInt32 entryID) {
    History::Group step(history_);
    dialogs_.pickPreset(itemOf(dialog, itemID), entryID);
    afterEvent();
}

void Host::stepItem(ADMDialogRef dialog, ASInt32 itemID, bool up, bool large) {
    History::Group step(history_);
    dialogs_.step(itemOf(dialog, itemID), up, large);
    afterEvent();
}

void Host::pickEntry(ADMDialogRef dialog, ASInt32 itemID, ASInt32 position) {
    History::Group step(history_);
    dialogs_.pickEntry(itemOf(dialog, itemID), position);
    afterEvent();
}

void Host::chooseDialogMenu(ADMDialogRef dialog, ASInt32 index) {
    History::Group step(history_);
    dialogs_.chooseMenuEntry(dialog, index);
    afterEvent();
}

void Host::clickItem(ADMDialogRef dialog, ASInt32 itemID) {
    History::Group step(history_);
    dialogs_.click(itemOf(dialog, itemID));
    afterEvent();
}

void Host::dragItem(ADMDialogRef dialog, ASInt32 itemID, ASInt32 h0, ASInt32 h1) {
    History::Group step(history_);
    dialogs_.drag(itemOf(dialog, itemID), h0, h1);
    afterEvent();
}

void Host::closeDialog(ADMDialogRef dialog) {
    History::Group step(history_);
    dialogs_.close(dialog);
    afterEvent();
}

void Host::dismissDialog(ADMDialogRef dialog) {
    History::Group step(history_);
    dialogs_.dismiss(dialog);
    afterEvent();
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
    menus_.dump(out);
    tools_.dump(out);
    hitTesting_.dump(out);
    dialogs_.dump(out);
    history_.dump(out);
    out["suites"] = {{"acquired", suites_.outstandingTotal()},
                     {"acquisitions", suites_.acquisitions()},
                     {"releases", suites_.releases()}};
    out["memory"] = {{"blocks", memory_.liveBlocks()}, {"bytes", memory_.liveBytes()}};
    out["contexts"] = contexts_.depth();
    return out;
}

}  // namespace host
