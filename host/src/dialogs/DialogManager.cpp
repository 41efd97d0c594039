#include "host/dialogs/DialogManager.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <utility>

#include "DialogCalls.h"
#include "host/platform/Bundle.h"
#include "host/platform/JsonNumbers.h"
#include "host/text/MacRoman.h"

namespace host {

using dialogcalls::hasList;
using dialogcalls::isField;
using dialogcalls::isKnownType;
using dialogcalls::isPushButton;

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;
/// The fly-out menu item has no place of its own in the dialog: it sits in the title bar.
constexpr ASRect kNoPlace{0, 0, 0, 0};

bool isFloating(ADMDialogStyle style) {
    return style == kADMFloatingDialogStyle || style == kADMTabbedFloatingDialogStyle;
}

ASInt16 toPixel(long coordinate) {
    return static_cast<ASInt16>(std::clamp<long>(coordinate, INT16_MIN, INT16_MAX));
}

/// Some of the item lies inside the dialog's frame.
bool insideFrame(const ASRect& item, const ASRect& frame) {
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    return item.left < item.right && item.top < item.bottom && item.left < width && item.right > 0 &&
           item.top < height && item.bottom > 0;
}

/// The rectangle in its own pixels: top-left at 0, 0.
ASRect ownPixels(const ASRect& rect) {
    return {0, 0, toPixel(rect.bottom - rect.top), toPixel(rect.right - rect.left)};
}

/// The text of a unit as a person types it after a number.
const char* unitText(ADMUnits units) {
    switch (units) {
        case kADMMillimeterUnits:
            return "mm";
        case kADMPointUnits:
            return "pt";
        case kADMDegreeUnits:
            return "\xC2\xB0";  // UTF-8
        case kADMNoUnits:
            break;
    }
    return nullptr;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

nlohmann::json rectJson(const ASRect& r) {
    return {r.top, r.left, r.bottom, r.right};
}

}  // namespace

nlohmann::json toJson(const DialogDisplayList& list) {
    nlohmann::json out = nlohmann::json::array();
    for (const DialogDrawOp& op : list) {
        nlohmann::json entry = nlohmann::json::object();
        switch (op.kind) {
            case DialogDrawOp::Kind::standard:
                entry["op"] = "standard";
                break;
            case DialogDrawOp::Kind::clear:
                entry["op"] = "clear";
                entry["rect"] = rectJson(op.rect);
                break;
            case DialogDrawOp::Kind::fill:
            case DialogDrawOp::Kind::frame:
                entry["op"] = op.kind == DialogDrawOp::Kind::fill ? "fill" : "frame";
                entry["rect"] = rectJson(op.rect);
                entry["color"] = op.color;
                break;
            case DialogDrawOp::Kind::text:
            case DialogDrawOp::Kind::centeredText:
                entry["op"] = "text";
                entry["text"] = op.text;
                if (op.kind == DialogDrawOp::Kind::text)
                    entry["at"] = {op.at.h, op.at.v};
                else
                    entry["rect"] = rectJson(op.rect);
                entry["color"] = op.color;
                entry["font"] = op.font;
                break;
            case DialogDrawOp::Kind::icon:
                entry["op"] = "icon";
                entry["icon"] = op.icon;
                entry["at"] = {op.at.h, op.at.v};
                break;
        }
        out.push_back(std::move(entry));
    }
    return out;
}

DialogManager::DialogManager(Plugins& plugins, const Icons& icons, AdmBasic& basic)
    : plugins_(plugins), icons_(icons), basic_(basic) {}

DialogManager::~DialogManager() {
    ActivePiece<DialogManager>::clear(this);
}

void DialogManager::registerSuites(SuiteRegistry& registry) {
    ActivePiece<DialogManager>::set(this);
    registerDialogSuites(registry);
    registerListSuites(registry);
    registerEventSuites(registry);
}

// The model.

std::vector<ADMDialogRef> DialogManager::dialogs() const {
    std::vector<ADMDialogRef> refs;
    dialogs_.forEach([&](ADMDialogRef ref, const Dialog&) { refs.push_back(ref); });
    return refs;
}

ADMItemRef DialogManager::findItem(ADMDialogRef dialogRef, ASInt32 itemID) const {
    const Dialog* dialog = dialogs_.find(dialogRef);
    if (!dialog) return nullptr;
    for (ADMItemRef ref : dialog->items) {
        const Item* item = items_.find(ref);
        if (item && item->id == itemID) return ref;
    }
    return nullptr;
}

std::vector<ADMDialogRef> DialogManager::palettes() const {
    std::vector<ADMDialogRef> refs;
    dialogs_.forEach([&](ADMDialogRef ref, const Dialog& dialog) {
        if (!dialog.modal) refs.push_back(ref);
    });
    return refs;
}

ADMDialogRef DialogManager::innermostModal() const {
    return runs_.empty() ? nullptr : runs_.back().dialog;
}

std::string DialogManager::titleOf(ADMDialogRef ref) const {
    const Dialog* dialog = dialogs_.find(ref);
    if (!dialog) return "";
    return macRomanToUtf8(dialog->title.empty() ? dialog->name : dialog->title);
}

// What plug-ins do.

ADMDialogRef DialogManager::makeDialog(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                                       bool modal, ADMUserData data) {
    Dialog dialog;
    dialog.plugin = plugin;
    dialog.name = name ? name : "";
    dialog.id = dialogID;
    dialog.style = style;
    dialog.modal = modal;
    dialog.userData = data;
    ADMDialogRef ref = dialogs_.add(std::move(dialog));
    // Every palette carries its fly-out menu, whose entries the plug-in gives.
    if (!modal && isFloating(style)) createItem(ref, kADMMenuItemID, kADMPopupMenuType, &kNoPlace, nullptr, nullptr);
    return ref;
}

bool DialogManager::initialise(ADMDialogRef ref, ADMDialogInitProc initProc) {
    ASErr result = kNoErr;
    if (initProc) {
        ProcedureScope scope(*this);
        result = initProc(ref);
    }
    if (!dialogs_.find(ref)) return false;  // destroyed by its own init procedure
    if (result != kNoErr) {
        // The plug-in never got the dialog: its destroy procedure is not called.
        erase(ref);
        return false;
    }
    return true;
}

ADMDialogRef DialogManager::create(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                                   ADMDialogInitProc initProc, ADMUserData data, ASInt32) {
    ADMDialogRef ref = makeDialog(plugin, name, dialogID, style, false, data);
    return initialise(ref, initProc) ? ref : nullptr;
}

ASInt32 DialogManager::modal(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                             ADMDialogInitProc initProc, ADMUserData data, ASInt32) {
    ADMDialogRef ref = makeDialog(plugin, name, dialogID, style, true, data);
    if (!initialise(ref, initProc)) return kModalFailed;
    dialogs_.find(ref)->visible = true;
    runs_.push_back({ref, std::nullopt});
    // A dialog destroyed meanwhile ends its run as cancelled.
    auto ended = [&] { return run(ref)->result || !dialogs_.find(ref); };
    ASInt32 result = kCancelButtonID;
    try {
        // The person sees the dialog drawn before each action.
        while (!ended()) {
            drawPending();
            if (!ended() && !pullEvent(ref)) cancel(ref);
        }
        result = run(ref)->result.value_or(kCancelButtonID);
    } catch (...) {
        runs_.pop_back();
        throw;
    }
    // Runs end innermost first: this one is the last.
    runs_.pop_back();
    if (runs_.empty()) sourceDry_ = false;
    destroy(ref);
    return result;
}

void DialogManager::destroy(ADMDialogRef ref) {
    Dialog* dialog = dialogs_.find(ref);
    if (!dialog || dialog->destroying) return;
    dialog->destroying = true;
    if (ADMDialogDestroyProc proc = dialog->destroy) {
        ProcedureScope scope(*this);
        proc(ref);
    }
    erase(ref);
}

void DialogManager::erase(ADMDialogRef ref) {
    Dialog* dialog = dialogs_.find(ref);
    if (!dialog) return;
    for (ADMItemRef itemRef : dialog->items) {
        if (Item* item = items_.find(itemRef); item && item->list) {
            clearEntries(item->list);
            lists_.erase(item->list);
        }
        items_.erase(itemRef);
    }
    dialogs_.erase(ref);
}

ADMItemRef DialogManager::createItem(ADMDialogRef dialogRef, ASInt32 itemID, const char* itemType, const ASRect* bounds,
                                     ADMItemInitProc initProc, ADMUserData data) {
    Dialog* dialog = dialogs_.find(dialogRef);
    if (!dialog || dialog->destroying || !itemType || !bounds || !isKnownType(itemType)) return nullptr;
    Item item;
    item.dialog = dialogRef;
    item.id = itemID;
    item.type = itemType;
    item.rect = *bounds;
    item.userData = data;
    ADMItemRef ref = items_.add(std::move(item));
    dialog->items.push_back(ref);
    if (hasList(itemType)) {
        ADMListRef list = makeList(ref);
        items_.find(ref)->list = list;
    }
    if (initProc) {
        ProcedureScope scope(*this);
        initProc(ref);
    }
    return items_.find(ref) ? ref : nullptr;
}

void DialogManager::show(ADMDialogRef ref, bool visible) {
    Dialog* dialog = dialogs_.find(ref);
    if (!dialog || dialog->visible == visible) return;
    dialog->visible = visible;
    if (visible) invalidateDialog(ref);
    notifyDialog(ref, nullptr, visible ? kADMShowWindowNotifier : kADMHideWindowNotifier);
}

void DialogManager::itemDefaultNotify(ADMItemRef ref) {
    const Item* item = items_.find(ref);
    if (!item || !isPushButton(item->type) || (item->id != kOkButtonID && item->id != kCancelButtonID)) return;
    if (ModalRun* current = run(item->dialog); current && !current->result) current->result = item->id;
}

void DialogManager::invalidate(ADMItemRef ref) {
    if (Item* item = items_.find(ref)) item->needsDrawing = true;
}

void DialogManager::invalidateDialog(ADMDialogRef ref) {
    Dialog* dialog = dialogs_.find(ref);
    if (!dialog) return;
    dialog->needsDrawing = true;
    for (ADMItemRef item : dialog->items) invalidate(item);
}

void DialogManager::updateText(Item& item) {
    if (!item.showsValue) return;
    ASInt32 decimals = item.integral ? 0 : item.precision;
    item.text = AdmBasic::valueToText(item.value, item.units, decimals, item.units != kADMNoUnits);
}

std::optional<float> DialogManager::readValue(const Item& item, const std::string& utf8) const {
    std::string_view text = trimmed(utf8);
    if (const char* unit = unitText(item.units); unit && text.ends_with(unit))
        text = trimmed(text.substr(0, text.size() - std::strlen(unit)));
    std::string number(text);
    // A person may write the decimal comma that the tool's labels show.
    if (std::count(number.begin(), number.end(), ',') == 1 && number.find('.') == std::string::npos)
        std::replace(number.begin(), number.end(), ',', '.');
    if (!number.empty() && number.front() == '+') number.erase(0, 1);
    double shown = 0.0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), shown);
    if (number.empty() || error != std::errc() || end != number.data() + number.size()) return std::nullopt;
    double held = item.units == kADMMillimeterUnits ? shown * kPointsPerInch / kMillimetresPerInch : shown;
    auto value = static_cast<float>(held);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

// Procedures. None of the model's pointers is used again after a procedure returns: it may have
// destroyed what they pointed to.

void DialogManager::notifyItem(ADMItemRef ref, const char* type) {
    const Item* item = items_.find(ref);
    if (!item) return;
    ADMItemNotifyProc proc = item->notify;
    if (!proc) {
        itemDefaultNotify(ref);
        return;
    }
    ADMNotifierRef notifier = notifications_.add({item->dialog, ref, type});
    {
        ProcedureScope scope(*this);
        proc(ref, notifier);
    }
    notifications_.erase(notifier);
}

void DialogManager::notifyDialog(ADMDialogRef ref, ADMItemRef about, const char* type) {
    const Dialog* dialog = dialogs_.find(ref);
    if (!dialog || !dialog->notify) return;  // the dialog's default notification does nothing with these
    ADMDialogNotifyProc proc = dialog->notify;
    ADMNotifierRef notifier = notifications_.add({ref, about, type});
    {
        ProcedureScope scope(*this);
        proc(ref, notifier);
    }
    notifications_.erase(notifier);
}

void DialogManager::trackItem(ADMItemRef ref, ASPoint point, ADMMouseState state) {
    const Item* item = items_.find(ref);
    if (!item || !item->track) return;  // the default tracking does nothing
    ADMItemTrackProc proc = item->track;
    ADMTrackerRef tracker = tracks_.add({point, state});
    {
        ProcedureScope scope(*this);
        proc(ref, tracker);
    }
    tracks_.erase(tracker);
}

void DialogManager::drawItem(ADMItemRef ref) {
    Item* item = items_.find(ref);
    const Dialog* dialog = item ? dialogs_.find(item->dialog) : nullptr;
    if (!dialog || !dialog->visible || !item->visible || !item->needsDrawing) return;
    item->needsDrawing = false;
    if (!item->draw) {
        item->drawing = {DialogDrawOp{}};
        return;
    }
    ADMItemDrawProc proc = item->draw;
    Drawer open;
    open.origin = {item->rect.top, item->rect.left};
    open.bounds = ownPixels(item->rect);
    ADMDrawerRef drawer = drawers_.add(std::move(open));
    {
        ProcedureScope scope(*this);
        proc(ref, drawer);
    }
    if (Item* drawn = items_.find(ref)) drawn->drawing = std::move(drawers_.find(drawer)->operations);
    drawers_.erase(drawer);
}

void DialogManager::drawDialog(ADMDialogRef ref) {
    Dialog* dialog = dialogs_.find(ref);
    if (!dialog || !dialog->visible || !dialog->needsDrawing) return;
    dialog->needsDrawing = false;
    if (!dialog->draw) {
        dialog->drawing = {DialogDrawOp{}};
        return;
    }
    ADMDialogDrawProc proc = dialog->draw;
    Drawer open;
    open.bounds = ownPixels(dialog->bounds);
    ADMDrawerRef drawer = drawers_.add(std::move(open));
    {
        ProcedureScope scope(*this);
        proc(ref, drawer);
    }
    if (Dialog* drawn = dialogs_.find(ref)) drawn->drawing = std::move(drawers_.find(drawer)->operations);
    drawers_.erase(drawer);
}

void DialogManager::drawPending() {
    // Listed first: a draw procedure may create, destroy or invalidate dialogs and items.
    std::vector<std::pair<ADMDialogRef, ADMItemRef>> pending;
    dialogs_.forEach([&](ADMDialogRef ref, const Dialog& dialog) {
        if (!dialog.visible) return;
        if (dialog.needsDrawing) pending.emplace_back(ref, nullptr);
        for (ADMItemRef itemRef : dialog.items) {
            const Item* item = items_.find(itemRef);
            if (item && item->visible && item->needsDrawing) pending.emplace_back(ref, itemRef);
        }
    });
    for (auto [dialog, item] : pending) {
        if (item)
            drawItem(item);
        else
            drawDialog(dialog);
    }
}

// Modal runs.

DialogManager::ModalRun* DialogManager::run(ADMDialogRef dialog) {
    auto found = std::find_if(runs_.begin(), runs_.end(), [&](const ModalRun& run) { return run.dialog == dialog; });
    return found == runs_.end() ? nullptr : &*found;
}

bool DialogManager::pullEvent(ADMDialogRef dialog) {
    if (sourceDry_) return false;
    // Read now: the action may destroy the dialog.
    std::string title = titleOf(dialog);
    try {
        if (source_ && source_()) return true;
        keepError(std::make_exception_ptr(HostError((source_ ? "the events ran out inside the modal dialog \""
                                                             : "nothing gives events to the modal dialog \"") +
                                                    title + "\"")));
    } catch (...) {
        keepError(std::current_exception());
    }
    // Nothing more will come: every open run ends.
    sourceDry_ = true;
    return false;
}

void DialogManager::cancel(ADMDialogRef dialog) {
    ADMItemRef button = findItem(dialog, kCancelButtonID);
    const Item* item = items_.find(button);
    if (item && isPushButton(item->type) && item->enabled && item->visible) notifyItem(button, kADMUserChangedNotifier);
    if (ModalRun* current = run(dialog); current && !current->result) current->result = kCancelButtonID;
}

void DialogManager::keepError(std::exception_ptr error) {
    // The first error explains the others.
    if (!pendingError_) pendingError_ = std::move(error);
}

void DialogManager::throwPendingError() {
    if (!pendingError_ || busy()) return;
    std::rethrow_exception(std::exchange(pendingError_, nullptr));
}

// A person's actions.

DialogManager::Dialog& DialogManager::reachable(ADMDialogRef ref) const {
    const Dialog* dialog = dialogs_.find(ref);
    if (!dialog) throw HostError("the dialog is gone");
    ADMDialogRef modalDialog = innermostModal();
    if (modalDialog && modalDialog != ref) throw HostError("the modal dialog \"" + titleOf(modalDialog) + "\" is open");
    if (!dialog->visible) throw HostError("the dialog \"" + titleOf(ref) + "\" is not shown");
    return const_cast<Dialog&>(*dialog);
}

DialogManager::Item* DialogManager::actionable(ADMItemRef ref) {
    Item* item = items_.find(ref);
    if (!item) throw HostError("the dialog item is gone");
    const Dialog& dialog = reachable(item->dialog);
    return item->enabled && item->visible && insideFrame(item->rect, dialog.bounds) ? item : nullptr;
}

void DialogManager::type(ADMItemRef field, const std::string& text) {
    const Item* item = items_.find(field);
    if (item && !isField(item->type)) throw HostError("item " + std::to_string(item->id) + " is not a field");
    if (actionable(field)) enter(field, text);
}

void DialogManager::enter(ADMItemRef ref, const std::string& utf8) {
    Item& item = *items_.find(ref);
    if (trimmed(utf8).empty()) {
        // Emptied: the field holds no number any more, and its plug-in hears so as of any edit.
        item.text.clear();
        item.showsValue = false;
        confirmEdit(ref);
        return;
    }
    std::optional<float> value = readValue(item, utf8);
    if (!value) {
        basic_.beep();
        return;
    }
    enterValue(ref, *value);
}

void DialogManager::enterValue(ADMItemRef ref, float value) {
    Item& item = *items_.find(ref);
    float held = item.integral ? std::round(value) : value;
    if (item.minimum) held = std::max(held, *item.minimum);
    if (item.maximum) held = std::min(held, *item.maximum);
    item.value = held;
    item.showsValue = true;
    updateText(item);
    confirmEdit(ref);
}

void DialogManager::confirmEdit(ADMItemRef ref) {
    Item& item = *items_.find(ref);
    item.needsDrawing = true;
    // Typing happens in the focused field.
    dialogs_.find(item.dialog)->focus = ref;
    ADMDialogRef dialog = item.dialog;
    notifyItem(ref, kADMUserChangedNotifier);
    if (items_.find(ref)) notifyDialog(dialog, ref, kADMTextSelectionChangeNotifier);
}

void DialogManager::step(ADMItemRef ref, bool up, bool large) {
    const Item* item = items_.find(ref);
    if (item && item->type != kADMSpinEditType && item->type != kADMSpinEditPopupType)
        throw HostError("item " + std::to_string(item->id) + " is not a spin edit");
    const Item* spin = actionable(ref);
    if (!spin) return;
    const float increment = large ? spin->largeStep : spin->smallStep;
    const float moved = spin->value + (up ? increment : -increment);
    if (!std::isfinite(moved)) return;
    enterValue(ref, moved);
}

void DialogManager::pickPreset(ADMItemRef field, ASInt32 entryID) {
    const Item* item = items_.find(field);
    if (!item) throw HostError("the dialog item is gone");
    const List* list = isField(item->type) ? lists_.find(item->list) : nullptr;
    if (!list) throw HostError("item " + std::to_string(item->id) + " has no presets");
    auto found = std::find_if(list->entries.begin(), list->entries.end(), [&](ADMEntryRef ref) {
        const Entry* entry = entries_.find(ref);
        return entry && entry->id == entryID;
    });
    if (found == list->entries.end())
        throw HostError("item " + std::to_string(item->id) + " has no preset " + std::to_string(entryID));
    ADMEntryRef entryRef = *found;
    if (!actionable(field) || !entries_.find(entryRef)->enabled) return;
    lists_.find(item->list)->active = entryRef;
    enter(field, macRomanToUtf8(entries_.find(entryRef)->text));
}

void DialogManager::choose(ADMItemRef ref, ADMEntryRef entryRef) {
    const Entry* entry = entries_.find(entryRef);
    if (!entry->enabled) return;
    lists_.find(entry->list)->active = entryRef;
    invalidate(ref);
    notifyItem(ref, kADMUserChangedNotifier);
}

void DialogManager::pickEntry(ADMItemRef ref, ASInt32 position) {
    const Item* item = items_.find(ref);
    if (!item) throw HostError("the dialog item is gone");
    const List* list = lists_.find(item->list);
    std::string name = "item " + std::to_string(item->id);
    if (!list) throw HostError(name + " has no list");
    if (position < 0 || static_cast<std::size_t>(position) >= list->entries.size())
        throw HostError(name + " has no entry at position " + std::to_string(position) + " (it holds " +
                        std::to_string(list->entries.size()) + ")");
    ADMEntryRef entry = list->entries[static_cast<std::size_t>(position)];
    if (actionable(ref)) choose(ref, entry);
}

void DialogManager::chooseMenuEntry(ADMDialogRef dialog, ASInt32 index) {
    if (!dialogs_.find(dialog)) throw HostError("the dialog is gone");
    ADMItemRef menu = findItem(dialog, kADMMenuItemID);
    const Item* item = items_.find(menu);
    const List* list = item ? lists_.find(item->list) : nullptr;
    if (!list) throw HostError("the dialog \"" + titleOf(dialog) + "\" has no menu");
    if (index < 0 || static_cast<std::size_t>(index) >= list->entries.size())
        throw HostError("the menu of \"" + titleOf(dialog) + "\" has no entry " + std::to_string(index) +
                        " (it holds " + std::to_string(list->entries.size()) + ")");
    ADMEntryRef entry = list->entries[static_cast<std::size_t>(index)];
    reachable(dialog);
    // The menu lies in the title bar, not among the items: only its enabling counts.
    if (item->enabled) choose(menu, entry);
}

void DialogManager::click(ADMItemRef ref) {
    Item* item = actionable(ref);
    if (!item) return;
    if (item->type == kADMTextCheckBoxType) {
        item->value = item->value != 0.0f ? 0.0f : 1.0f;
        item->needsDrawing = true;
    }
    if (isField(item->type)) dialogs_.find(item->dialog)->focus = ref;
    notifyItem(ref, kADMUserChangedNotifier);
}

void DialogManager::drag(ADMItemRef ref, ASInt32 h0, ASInt32 h1) {
    const Item* item = actionable(ref);
    if (!item) return;
    const ASInt16 v = toPixel((item->rect.bottom - item->rect.top) / 2);
    const ASInt16 start = toPixel(h0);
    const ASInt16 end = toPixel(h1);
    trackItem(ref, {v, start}, kADMMouseDown);
    // The pointer is captured: the item follows it to the release, whatever its state meanwhile.
    const int step = end > start ? 1 : -1;
    for (int h = start; h != end && items_.find(ref);) {
        h += step;
        trackItem(ref, {v, static_cast<ASInt16>(h)}, kADMMouseDown);
    }
    trackItem(ref, {v, end}, kADMMouseNormal);
}

void DialogManager::close(ADMDialogRef ref) {
    if (reachable(ref).modal) throw HostError("the modal dialog \"" + titleOf(ref) + "\" has no close box");
    show(ref, false);
}

void DialogManager::dismiss(ADMDialogRef ref) {
    if (!reachable(ref).modal) throw HostError("the dialog \"" + titleOf(ref) + "\" is not modal");
    cancel(ref);
}

// Dumps.

void DialogManager::dump(nlohmann::json& out) const {
    auto& list = out["dialogs"] = nlohmann::json::array();
    dialogs_.forEach([&](ADMDialogRef, const Dialog& dialog) {
        nlohmann::json items = nlohmann::json::array();
        nlohmann::json focus = nullptr;
        for (ADMItemRef ref : dialog.items) {
            const Item* item = items_.find(ref);
            if (!item) continue;
            if (ref == dialog.focus) focus = item->id;
            nlohmann::json shown = {{"id", item->id},
                                    {"type", item->type},
                                    {"rect", rectJson(item->rect)},
                                    {"enabled", item->enabled},
                                    {"visible", item->visible},
                                    {"text", macRomanToUtf8(item->text)},
                                    {"value", jsonNumber(item->value)},
                                    {"tooltip", macRomanToUtf8(item->tooltip)},
                                    {"tooltipEnabled", item->tooltipEnabled},
                                    {"units", item->units},
                                    {"precision", item->precision},
                                    {"steps", {jsonNumber(item->smallStep), jsonNumber(item->largeStep)}},
                                    {"picture", item->picture},
                                    {"pressedPicture", item->pressedPicture},
                                    {"font", item->font},
                                    {"justify", item->justify},
                                    {"mask", item->mask},
                                    {"drawing", toJson(item->drawing)}};
            if (item->minimum) shown["min"] = jsonNumber(*item->minimum);
            if (item->maximum) shown["max"] = jsonNumber(*item->maximum);
            if (const List* entries = lists_.find(item->list)) {
                auto& shownEntries = shown["entries"] = nlohmann::json::array();
                for (ADMEntryRef entryRef : entries->entries) {
                    const Entry* entry = entries_.find(entryRef);
                    if (!entry) continue;
                    shownEntries.push_back({{"id", entry->id},
                                            {"text", macRomanToUtf8(entry->text)},
                                            {"checked", entry->checked},
                                            {"selected", entries->active == entryRef},
                                            {"enabled", entry->enabled},
                                            {"separator", entry->separator}});
                }
            }
            items.push_back(std::move(shown));
        }
        list.push_back({{"name", macRomanToUtf8(dialog.name)},
                        {"id", dialog.id},
                        {"style", dialog.style},
                        {"modal", dialog.modal},
                        {"visible", dialog.visible},
                        {"title", macRomanToUtf8(dialog.title)},
                        {"rect", rectJson(dialog.bounds)},
                        {"focus", focus},
                        {"drawing", toJson(dialog.drawing)},
                        {"items", std::move(items)}});
    });
}

}  // namespace host
