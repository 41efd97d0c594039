#include "RandomSession.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <numeric>
#include <stdexcept>
#include <utility>
#include <vector>

#include "PluginFacts.h"

namespace random_session {

namespace {

/// Coordinates a broken device or computation gives.
constexpr float kOddCoordinates[] = {NAN, INFINITY, -INFINITY, 3.4e38f, -0.0f, 1e-40f};
/// What a person types into a number field, character by character.
constexpr char kTypedCharacters[] = "0123456789.,-+e ";
constexpr std::size_t kMaxTypedLength = 8;
constexpr std::size_t kMaxOddTextLength = 16;
/// A cursor step, in document points: most are short, as a hand moves.
constexpr double kShortStep = 15;
constexpr double kLongStep = 400;
/// How far beside an anchor a point near it lands.
constexpr double kBesideAnchor = 2;
/// A drawn path's anchors.
constexpr long kMaxDrawnAnchors = 6;
/// The zoom factors a view takes.
constexpr double kMinZoom = 0.01;
constexpr double kMaxZoom = 64;
/// The panel menu's entries a person picks from, and the positions an odd choice reaches.
constexpr long kPanelMenuEntries = 4;
constexpr long kOddPositions = 40;
/// The pixels a drag spans over an item, and a little outside it.
constexpr long kDragFrom = -20;
constexpr long kDragTo = 300;
/// The share of modal actions that go to the dialog; the others must be refused.
constexpr double kInDialogShare = 0.75;
/// The share of clicks at the cursor's place, after the movements that led there.
constexpr double kClickWhereMovedShare = 0.75;
/// The share of modal dialogs ended with OK when they have a Cancel button.
constexpr double kOkShare = 0.2;

}  // namespace

long SeededChoices::between(long low, long high) {
    return std::uniform_int_distribution<long>(low, high)(random_);
}

double SeededChoices::unit() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
}

float SeededChoices::anyFloat() {
    return std::bit_cast<float>(static_cast<std::uint32_t>(random_()));
}

std::string SeededChoices::anyText(std::size_t maxLength) {
    std::string text(static_cast<std::size_t>(between(0, static_cast<long>(maxLength))), '\0');
    for (char& c : text) c = static_cast<char>(between(0, UINT8_MAX));
    return text;
}

Driver::Driver(host::Host& host, ChoiceSource& choices, Profile profile)
    : host_(host), choices_(choices), profile_(std::move(profile)) {
    totalWeight_ = std::accumulate(profile_.weights.begin(), profile_.weights.end(), 0.0);
    if (!(totalWeight_ > 0)) throw std::invalid_argument("a random session needs an action with some weight");
    cursor_ = {static_cast<AIReal>((profile_.area.left + profile_.area.right) / 2),
               static_cast<AIReal>((profile_.area.bottom + profile_.area.top) / 2)};
    observer_ = host_.document().addObserver([this](AIArtHandle art, host::Document::Change change) {
        if (change == host::Document::Change::removed) gone_ = art;
    });
}

Driver::~Driver() {
    host_.document().removeObserver(observer_);
}

void Driver::playOne() {
    double roll = real(0, totalWeight_);
    std::size_t chosen = 0;
    // The last action with some weight takes what rounding leaves.
    for (std::size_t i = 0; i < kActionCount; ++i) {
        if (profile_.weights[i] <= 0) continue;
        chosen = i;
        if (roll < profile_.weights[i]) break;
        roll -= profile_.weights[i];
    }
    play(static_cast<Action>(chosen));
}

void Driver::playInsideModal() {
    if (chance(kInDialogShare))
        useDialog();
    else
        playOne();
}

void Driver::endModal() {
    ADMDialogRef dialog = host_.modalDialog();
    const bool cancellable = host_.dialogs().findItem(dialog, host::DialogManager::kCancelButtonID) != nullptr;
    const bool ok = !cancellable || chance(kOkShare);
    attempt(
        [&] { host_.clickItem(dialog, ok ? host::DialogManager::kOkButtonID : host::DialogManager::kCancelButtonID); });
}

void Driver::play(Action action) {
    switch (action) {
        case Action::start:
            attempt([&] { host_.start(); });
            break;
        case Action::storePreference:
            storePreference();
            break;
        case Action::selectTool:
            attempt([&] { host_.selectTool(plugin_facts::kToolName); });
            break;
        case Action::deselect:
            attempt([&] { host_.deselect(); });
            break;
        case Action::editTool:
            attempt([&] { host_.editTool(); });
            break;
        case Action::move: {
            AIRealPoint point = cursor();
            ASUInt16 keys = modifiers();
            attempt([&] { host_.move(point, keys); });
            break;
        }
        case Action::click: {
            AIRealPoint point = chance(kClickWhereMovedShare) ? cursor_ : cursor();
            ASUInt16 keys = modifiers();
            attempt([&] { host_.click(point, keys); });
            break;
        }
        case Action::typeIntoPanel:
            typeIntoPanel();
            break;
        case Action::usePanel:
            usePanel();
            break;
        case Action::chooseMenu:
            chooseMenu();
            break;
        case Action::useDialog:
            useDialog();
            break;
        case Action::deleteArt:
            deleteArt();
            break;
        case Action::lockArt:
            lockArt();
            break;
        case Action::drawArt:
            drawArt();
            break;
        case Action::undo:
            attempt([&] { host_.undo(); });
            break;
        case Action::redo:
            attempt([&] { host_.redo(); });
            break;
        case Action::unload:
            attempt([&] { host_.unload(); });
            break;
        case Action::reload:
            attempt([&] { host_.reload(); });
            break;
        case Action::zoom: {
            const auto zoom = static_cast<float>(real(kMinZoom, kMaxZoom));
            attempt([&] { host_.views().setZoom(zoom); });
            break;
        }
        case Action::pressKey:
            pressKey();
            break;
        case Action::quit: {
            const bool started = host_.started();
            attempt([&] { host_.quit(); });
            quit_ = quit_ || (started && !host_.started());
            break;
        }
    }
}

void Driver::attempt(const std::function<void()>& action) {
    try {
        action();
    } catch (const host::HostError&) {
        ++refusals_;
    } catch (const std::invalid_argument&) {
        ++refusals_;
    }
}

AIRealPoint Driver::cursor() {
    if (chance(profile_.oddInput)) {
        // Anywhere a float can say, the values a broken device gives included.
        auto coordinate = [&] {
            return chance(0.125) ? kOddCoordinates[below(std::size(kOddCoordinates))] : choices_.anyFloat();
        };
        const float h = coordinate();
        return {h, coordinate()};
    }
    const Area& area = profile_.area;
    const double roll = choices_.unit();
    if (roll < 0.55) {
        cursor_ = {cursor_.h + static_cast<AIReal>(real(-kShortStep, kShortStep)),
                   cursor_.v + static_cast<AIReal>(real(-kShortStep, kShortStep))};
    } else if (roll < 0.65) {
        // A turn and a length from the last point.
        const double length = real(0, kLongStep);
        const double angle = real(0, 2 * std::numbers::pi);
        cursor_ = {cursor_.h + static_cast<AIReal>(length * std::cos(angle)),
                   cursor_.v + static_cast<AIReal>(length * std::sin(angle))};
    } else if (roll < 0.92) {
        // Onto an anchor of some art, most often the newest: the polyline under way.
        const std::size_t count = host_.document().artCount();
        AIArtHandle art = count == 0    ? nullptr
                          : chance(0.5) ? host_.document().artAt(-1)
                                        : host_.document().artAt(static_cast<long>(below(count)));
        if (art) {
            cursor_ = nearAnchorOf(art);
            return cursor_;
        }
    } else {
        cursor_ = {static_cast<AIReal>(real(area.left, area.right)), static_cast<AIReal>(real(area.bottom, area.top))};
    }
    // A wandering cursor stays over the area.
    cursor_ = {static_cast<AIReal>(std::clamp<double>(cursor_.h, area.left, area.right)),
               static_cast<AIReal>(std::clamp<double>(cursor_.v, area.bottom, area.top))};
    return cursor_;
}

AIRealPoint Driver::nearAnchorOf(AIArtHandle art) {
    const host::Document::Art* found = host_.document().findArt(art);
    if (!found || found->shape.segments.empty()) return cursor_;
    const std::vector<AIPathSegment>& anchors = found->shape.segments;
    const AIRealPoint last = anchors.back().p;
    const AIRealPoint beforeLast = anchors.size() > 1 ? anchors[anchors.size() - 2].p : last;
    AIRealPoint at{};
    switch (choices_.between(0, 3)) {
        case 0:
            at = anchors.front().p;
            break;
        case 1:
            at = last;
            break;
        case 2:
            at = {(last.h + beforeLast.h) / 2, (last.v + beforeLast.v) / 2};
            break;
        default:
            at = anchors[below(anchors.size())].p;
            break;
    }
    if (chance(0.5)) return at;
    return {at.h + static_cast<AIReal>(real(-kBesideAnchor, kBesideAnchor)),
            at.v + static_cast<AIReal>(real(-kBesideAnchor, kBesideAnchor))};
}

ASUInt16 Driver::modifiers() {
    if (chance(profile_.plainKeys)) return 0;
    const long bits = choices_.between(1, 7);
    return static_cast<ASUInt16>(((bits & 1) ? shiftKey : 0) | ((bits & 2) ? optionKey : 0) |
                                 ((bits & 4) ? controlKey : 0));
}

std::string Driver::text() {
    if (chance(profile_.oddInput)) return choices_.anyText(kMaxOddTextLength);
    std::string typed(static_cast<std::size_t>(choices_.between(0, kMaxTypedLength)), ' ');
    for (char& c : typed) c = kTypedCharacters[below(sizeof kTypedCharacters - 1)];
    return typed;
}

void Driver::storePreference() {
    const plugin_facts::StoredKey& stored = plugin_facts::kStoredKeys[below(std::size(plugin_facts::kStoredKeys))];
    host::PreferenceStore::Value value;
    switch (choices_.between(0, 2)) {
        case 0:
            value = chance(0.5);
            break;
        case 1:
            value = static_cast<std::int32_t>(
                choices_.between(std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
            break;
        default:
            value = static_cast<double>(choices_.anyFloat());
            break;
    }
    attempt([&] { host_.preferences().put(stored.prefix, stored.key, value); });
}

void Driver::pressKey() {
    constexpr ASUInt32 kNamedKeys[] = {kAIReturnKey, kAIEscapeKey, kAIBackspaceKey, kAIDeleteKey, kAITabKey};
    // Characters of typed lengths: digits, separators, operators, parentheses and the units' letters.
    constexpr char kLengthCharacters[] = "0123456789.,-+*/() mcinftp";
    constexpr ASUInt32 kLastCodePoint = 0x10FFFF;
    ASUInt32 key = 0;
    if (chance(profile_.oddInput))
        key = static_cast<ASUInt32>(choices_.between(0, kLastCodePoint));
    else if (chance(0.3))
        key = kNamedKeys[below(std::size(kNamedKeys))];
    else
        key = static_cast<unsigned char>(kLengthCharacters[below(sizeof kLengthCharacters - 1)]);
    const ASUInt16 keys = modifiers();
    attempt([&] { host_.key(key, keys); });
}

void Driver::typeIntoPanel() {
    ADMDialogRef panel = plugin_facts::panelOf(host_.dialogs());
    if (!panel) return;
    const ASInt32 field = chance(0.5) ? plugin_facts::kLengthField : plugin_facts::kAngleField;
    const std::string typed = text();
    attempt([&] { host_.typeIntoItem(panel, field, typed); });
}

void Driver::usePanel() {
    ADMDialogRef panel = plugin_facts::panelOf(host_.dialogs());
    if (!panel) return;
    const host::DialogManager::Dialog* shown = host_.dialogs().dialog(panel);
    if (shown && !shown->visible && !chance(profile_.oddInput)) {
        // Alt-click, as a person brings the panel back.
        attempt([&] { host_.click(cursor_, optionKey); });
        return;
    }
    switch (choices_.between(0, 3)) {
        case 0: {
            const auto index =
                static_cast<ASInt32>(chance(profile_.oddInput) ? choices_.between(-1, kOddPositions)
                                                               : choices_.between(0, kPanelMenuEntries - 1));
            attempt([&] { host_.chooseDialogMenu(panel, index); });
            break;
        }
        case 1:
            attempt([&] { host_.closeDialog(panel); });
            break;
        default:
            useItem(panel);
            break;
    }
}

void Driver::chooseMenu() {
    attempt([&] { host_.updateMenus(); });
    std::vector<std::string> commands;
    const host::Menus& menus = host_.menus();
    for (AIMenuGroup group : menus.groups())
        for (AIMenuItemHandle handle : menus.itemsOf(group))
            if (const host::Menus::Item* item = menus.item(handle); item && !item->submenu)
                commands.push_back(item->text);
    if (commands.empty()) return;
    const std::string command = commands[below(commands.size())];
    attempt([&] { host_.chooseMenuItem(command); });
}

void Driver::useDialog() {
    ADMDialogRef dialog = host_.modalDialog();
    if (!dialog) dialog = plugin_facts::panelOf(host_.dialogs());
    if (dialog) useItem(dialog);
}

void Driver::useItem(ADMDialogRef dialog) {
    const host::DialogManager::Dialog* shown = host_.dialogs().dialog(dialog);
    if (!shown || shown->items.empty()) return;
    const host::DialogManager::Item* item = host_.dialogs().item(shown->items[below(shown->items.size())]);
    if (!item) return;
    const ASInt32 id = item->id;
    switch (choices_.between(0, 4)) {
        case 0: {
            const std::string typed = text();
            attempt([&] { host_.typeIntoItem(dialog, id, typed); });
            break;
        }
        case 1: {
            const auto position = static_cast<ASInt32>(choices_.between(-1, kOddPositions));
            attempt([&] { host_.pickEntry(dialog, id, position); });
            break;
        }
        case 2: {
            const bool up = chance(0.5);
            const bool large = chance(0.5);
            attempt([&] { host_.stepItem(dialog, id, up, large); });
            break;
        }
        case 3: {
            const auto from = static_cast<ASInt32>(choices_.between(kDragFrom, kDragTo));
            const auto to = static_cast<ASInt32>(choices_.between(kDragFrom, kDragTo));
            attempt([&] { host_.dragItem(dialog, id, from, to); });
            break;
        }
        default:
            attempt([&] { host_.clickItem(dialog, id); });
            break;
    }
}

void Driver::deleteArt() {
    host::Document& document = host_.document();
    const std::size_t count = document.artCount();
    if (count == 0) return;
    if (profile_.keptArt > 0 && count > profile_.keptArt) {
        // The document grew: the newest art goes, most often what the tool drew.
        AIArtHandle newest = document.artAt(-1);
        attempt([&] { host_.edit([&](host::Document& d) { d.disposeArt(newest); }); });
        return;
    }
    AIArtHandle art = document.artAt(static_cast<long>(below(count)));
    // Now and then a handle that is gone, which the document must refuse.
    if (gone_ && chance(profile_.oddInput)) art = gone_;
    if (profile_.keptArt == 0) {
        attempt([&] { host_.edit([&](host::Document& d) { d.disposeArt(art); }); });
        return;
    }
    host::PathShape shape = profile_.newPath ? profile_.newPath() : randomPolyline();
    attempt([&] {
        host_.edit([&](host::Document& d) {
            d.disposeArt(art);
            d.addPath(std::move(shape));
        });
    });
}

void Driver::lockArt() {
    host::Document& document = host_.document();
    if (document.artCount() == 0) return;
    AIArtHandle art = document.artAt(static_cast<long>(below(document.artCount())));
    const host::Document::Art* found = document.findArt(art);
    if (!found) return;
    const bool locked = (found->attributes & kArtLocked) != 0;
    attempt([&] { host_.edit([&](host::Document& d) { d.setLocked(art, !locked); }); });
}

void Driver::drawArt() {
    host::PathShape shape = randomPolyline();
    attempt([&] { host_.edit([&](host::Document& d) { d.addPath(std::move(shape)); }); });
}

host::PathShape Driver::randomPolyline() {
    host::PathShape shape;
    const long count = choices_.between(1, kMaxDrawnAnchors);
    for (long i = 0; i < count; ++i) {
        const AIRealPoint p = cursor();
        shape.segments.push_back({p, p, p, true});
    }
    shape.closed = chance(0.5);
    return shape;
}

}  // namespace random_session
