// A person's random session at the host, for the events fuzzer and the stress run:
// tool choice, movements and clicks with modifier keys near the art, typing into
// the panel, menus, dialogs, art deleted, locked or drawn, undo and redo, unload
// and reload, quit. Where the choices come from is the caller's: the fuzzer's input
// bytes or a seeded generator; how often each action comes is its profile's.
//
// The host refusing an action (HostError, std::invalid_argument) is an outcome the
// host answers for and is counted; any other exception leaves the driver.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <random>
#include <string>

#include "host/Host.h"

namespace random_session {

/// Where a session's choices come from.
class ChoiceSource {
public:
    virtual ~ChoiceSource() = default;
    /// A whole number from low to high, both included (low <= high).
    virtual long between(long low, long high) = 0;
    /// A number from 0 up to, not including, 1.
    virtual double unit() = 0;
    /// Any float the source can give, however large or small.
    virtual float anyFloat() = 0;
    /// Any bytes, at most maxLength of them.
    virtual std::string anyText(std::size_t maxLength) = 0;
};

/// Choices from a seeded generator: the same seed, the same session.
class SeededChoices : public ChoiceSource {
public:
    explicit SeededChoices(std::mt19937& random) : random_(random) {}
    long between(long low, long high) override;
    double unit() override;
    float anyFloat() override;
    std::string anyText(std::size_t maxLength) override;

private:
    std::mt19937& random_;
};

enum class Action {
    start,
    storePreference,
    selectTool,
    deselect,
    editTool,
    move,
    click,
    typeIntoPanel,
    usePanel,
    chooseMenu,
    useDialog,
    deleteArt,
    lockArt,
    drawArt,
    undo,
    redo,
    unload,
    reload,
    zoom,
    pressKey,
    quit,
};
constexpr std::size_t kActionCount = static_cast<std::size_t>(Action::quit) + 1;

/// The rectangle the cursor keeps to when it wanders, in document points.
struct Area {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
};

struct Profile {
    /// How often each action comes, relative to the others, by Action; 0 for never.
    std::array<double, kActionCount> weights{};
    /// The share of cursor points, texts and values that no person gives: not finite, huge, any bytes,
    /// a handle of art that is gone, an entry or position out of range.
    double oddInput = 0;
    /// The share of movements and clicks without modifier keys; the others share the rest evenly.
    double plainKeys = 1;
    /// Where the cursor wanders.
    Area area;
    /// Art a deletion keeps: while the document holds more, the newest art goes; otherwise a new path takes
    /// the place of the art deleted, in the same step. 0: deletions take any art and replace none.
    std::size_t keptArt = 0;
    /// The new path of a deletion that keeps the art; a random polyline when empty.
    std::function<host::PathShape()> newPath;
};

class Driver {
public:
    Driver(host::Host& host, ChoiceSource& choices, Profile profile);
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;
    ~Driver();

    /// One action, chosen by the profile's weights.
    void playOne();
    /// One action while a modal dialog is open: mostly in the dialog, now and then any other, which the
    /// host must refuse cleanly.
    void playInsideModal();
    /// Ends the open modal dialog: with OK where there is no Cancel button, else now and then with OK and
    /// most often with Cancel.
    void endModal();

    /// The actions the host refused.
    long refusals() const { return refusals_; }
    /// The host quit through a quit action.
    bool quit() const { return quit_; }

private:
    void play(Action action);
    /// Runs an action the host may refuse.
    void attempt(const std::function<void()>& action);
    bool chance(double p) { return choices_.unit() < p; }
    std::size_t below(std::size_t count) {
        return static_cast<std::size_t>(choices_.between(0, static_cast<long>(count) - 1));
    }
    double real(double low, double high) { return low + (high - low) * choices_.unit(); }

    /// The next cursor point: a step from the last, near an anchor, anywhere in the area, or now and then
    /// one no device gives.
    AIRealPoint cursor();
    /// On or beside an anchor of the art: any one, or the first, the last or the middle of the last segment,
    /// where the tool closes, ends and shortens a polyline.
    AIRealPoint nearAnchorOf(AIArtHandle art);
    ASUInt16 modifiers();
    /// Mostly what a person types into a number field, now and then any bytes.
    std::string text();

    void storePreference();
    void typeIntoPanel();
    /// A key over the canvas: one the tool acts on, a character of a typed length, or any character.
    void pressKey();
    void usePanel();
    void chooseMenu();
    void useDialog();
    /// A person at one of the dialog's items.
    void useItem(ADMDialogRef dialog);
    void deleteArt();
    void lockArt();
    void drawArt();
    host::PathShape randomPolyline();

    host::Host& host_;
    ChoiceSource& choices_;
    Profile profile_;
    double totalWeight_ = 0;
    int observer_ = 0;
    /// The latest art the document removed, whose handle must find nothing.
    AIArtHandle gone_ = nullptr;
    AIRealPoint cursor_{};
    long refusals_ = 0;
    bool quit_ = false;
};

}  // namespace random_session
