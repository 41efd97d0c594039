// The dialog manager: dialogs, their items, lists and entries, as a model that
// the replay program dumps and the workbench mirrors with widgets.
//
// Plug-ins build dialogs through the suites and are told of what happens by
// their procedures (init, draw, track, notify, destroy). A person's actions come
// in through the methods below; modal runs pull them from an event source.
//
// Every reference given to a plug-in is a checked handle: a stale one finds
// nothing, answers null, 0 or false and changes nothing. No pointer into the
// model is kept across a call of a plug-in's procedure, which may create or
// destroy items and dialogs, its own included.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ADMSuites.h"
#include "host/dialogs/AdmBasic.h"
#include "host/dialogs/Icons.h"
#include "host/platform/Handles.h"
#include "host/platform/HostError.h"
#include "host/platform/Plugins.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

/// One drawing call of a dialog's or an item's draw procedure, in dialog pixels.
struct DialogDrawOp {
    enum class Kind {
        standard,      ///< the host's own look of the item or dialog (its default drawing)
        clear,         ///< rect painted in the background colour
        fill,          ///< rect filled in color
        frame,         ///< rect outlined in color
        text,          ///< text with its baseline's left end at `at`
        centeredText,  ///< text centred in rect
        icon,          ///< the plug-in's icon resource `icon` with its top-left at `at`
    };
    Kind kind = Kind::standard;
    ASRect rect{};
    ASPoint at{};
    std::string text;  ///< UTF-8
    ASInt32 icon = 0;
    ASInt32 color = kADMBlackColor;
    ASInt32 font = kADMDefaultFont;
};
using DialogDisplayList = std::vector<DialogDrawOp>;

/// A display list as dumps show it: one object per call with "op" ("standard", "clear", "fill", "frame",
/// "text", "icon"), its geometry, and "color" / "font" where they matter.
nlohmann::json toJson(const DialogDisplayList& list);

class DialogManager {
public:
    /// The push buttons that end a modal run through their default notification.
    static constexpr ASInt32 kOkButtonID = 1;
    static constexpr ASInt32 kCancelButtonID = 2;
    /// What Modal answers when the dialog could not be built.
    static constexpr ASInt32 kModalFailed = -1;
    /// The Dialog Group position code of a palette that floats on its own, docked to nothing.
    static constexpr ASInt32 kUndockedPosition = 0;
    /// Decimals of a field's text until the plug-in sets them.
    static constexpr ASInt32 kDefaultPrecision = 2;

    struct Entry {
        ADMListRef list = nullptr;
        ASInt32 id = 0;
        std::string text;  ///< platform encoding
        bool checked = false;
        bool enabled = true;
        bool separator = false;
    };

    struct List {
        ADMItemRef item = nullptr;
        std::vector<ADMEntryRef> entries;  ///< by position
        ADMEntryRef active = nullptr;      ///< the selected entry
    };

    struct Item {
        ADMDialogRef dialog = nullptr;
        ASInt32 id = 0;
        std::string type;
        ASRect rect{};  ///< dialog pixels
        ADMItemDrawProc draw = nullptr;
        ADMItemTrackProc track = nullptr;
        ADMItemNotifyProc notify = nullptr;
        ADMUserData userData = nullptr;
        ADMActionMask mask = 0;
        bool enabled = true;
        bool visible = true;
        std::string text;  ///< platform encoding; a field's value as shown
        float value = 0.0f;
        /// The text shows the value (set through a value or typed); integral values show no decimals.
        bool showsValue = false;
        bool integral = false;
        ADMUnits units = kADMNoUnits;
        ASInt32 precision = kDefaultPrecision;
        std::optional<float> minimum;
        std::optional<float> maximum;
        float smallStep = 1.0f;
        float largeStep = 10.0f;
        bool rollOver = false;
        std::string tooltip;  ///< platform encoding
        bool tooltipEnabled = true;
        ASInt32 picture = 0;
        ASInt32 pressedPicture = 0;
        ADMFont font = kADMDefaultFont;
        ADMJustify justify = kADMLeftJustify;
        ADMListRef list = nullptr;
        bool needsDrawing = true;
        DialogDisplayList drawing;  ///< the latest
    };

    struct Dialog {
        SPPluginRef plugin = nullptr;
        std::string name;
        ASInt32 id = 0;
        ADMDialogStyle style = kADMModalDialogStyle;
        bool modal = false;
        ADMUserData userData = nullptr;
        ADMDialogDrawProc draw = nullptr;
        ADMDialogTrackProc track = nullptr;
        ADMDialogNotifyProc notify = nullptr;
        ADMDialogDestroyProc destroy = nullptr;
        std::string title;  ///< platform encoding
        ASRect bounds{};    ///< the frame on the screen
        bool visible = false;
        std::vector<ADMItemRef> items;  ///< in the order of creation
        ADMItemRef focus = nullptr;
        bool needsDrawing = true;
        bool destroying = false;
        DialogDisplayList drawing;  ///< the latest
    };

    /// Pulls one of the person's actions into a modal run and carries it out; false when there is
    /// nothing more. What it throws is kept and thrown again by throwPendingError.
    using EventSource = std::function<bool()>;

    DialogManager(Plugins& plugins, const Icons& icons, AdmBasic& basic);
    DialogManager(const DialogManager&) = delete;
    DialogManager& operator=(const DialogManager&) = delete;
    /// Calls no procedure: the plug-ins have shut down by then.
    ~DialogManager();

    /// The Dialog, Dialog Group, Item, List, Entry, Notifier, Tracker and Drawer suites.
    void registerSuites(SuiteRegistry& registry);

    // The model, for front ends and tests.

    const Dialog* dialog(ADMDialogRef ref) const { return dialogs_.find(ref); }
    const Item* item(ADMItemRef ref) const { return items_.find(ref); }
    const List* list(ADMListRef ref) const { return lists_.find(ref); }
    const Entry* entry(ADMEntryRef ref) const { return entries_.find(ref); }
    /// Every dialog, oldest first.
    std::vector<ADMDialogRef> dialogs() const;
    /// The dialog's first item with that ID, or null.
    ADMItemRef findItem(ADMDialogRef dialog, ASInt32 itemID) const;
    /// The palettes: the non-modal dialogs, shown or hidden, oldest first.
    std::vector<ADMDialogRef> palettes() const;
    /// The dialog of the innermost open modal run, or null.
    ADMDialogRef innermostModal() const;
    /// The title in UTF-8, or the name when the title is empty.
    std::string titleOf(ADMDialogRef dialog) const;

    // What plug-ins do through the suites.

    /// A non-modal dialog, hidden until shown; null when initProc fails (the dialog is gone then).
    ADMDialogRef create(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                        ADMDialogInitProc initProc, ADMUserData data, ASInt32 options);
    /// Runs a modal dialog until a push button's default notification ends it, or its events run out
    /// (then it ends as if cancelled: button 2 is clicked). Answers the ID that ended it.
    ASInt32 modal(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                  ADMDialogInitProc initProc, ADMUserData data, ASInt32 options);
    /// Calls the destroy procedure, then removes the dialog with its items; a modal run of it ends.
    void destroy(ADMDialogRef dialog);
    /// Null for a stale dialog, an unknown type or no rectangle.
    ADMItemRef createItem(ADMDialogRef dialog, ASInt32 itemID, const char* itemType, const ASRect* bounds,
                          ADMItemInitProc initProc, ADMUserData data);
    /// Sends "ADM Show Window Notifier" or "ADM Hide Window Notifier" when the visibility changes.
    void show(ADMDialogRef dialog, bool visible);
    /// The default notification of an item: push button 1 or 2 of a dialog in a modal run ends the run.
    void itemDefaultNotify(ADMItemRef item);

    // What a person does. HostError when the action is impossible (a stale or hidden dialog, another
    // dialog while a modal run is open, an unknown item or entry); nothing happens when the item is
    // disabled, hidden or outside its dialog.

    /// Types text (UTF-8, read in the field's units) into a field and confirms it: "ADM User Changed
    /// Notifier" to the item, then "ADM Text Selection Change Notification" to its dialog. A text that
    /// does not read as a number beeps and changes nothing.
    void type(ADMItemRef field, const std::string& text);
    /// Presses a spin edit's up or down arrow: the value moves by the small increment (the large one
    /// with Shift), is clamped to the item's range and is set as if typed, with the same notifications.
    void step(ADMItemRef spinEdit, bool up, bool large);
    /// Picks the entry with that ID in the field's popup: as typing the entry's text.
    void pickPreset(ADMItemRef field, ASInt32 entryID);
    /// Picks the entry at position: it becomes the active one, then "ADM User Changed Notifier".
    void pickEntry(ADMItemRef item, ASInt32 position);
    /// Chooses the entry at index of the dialog's fly-out menu (item kADMMenuItemID).
    void chooseMenuEntry(ADMDialogRef dialog, ASInt32 index);
    /// A check box toggles; then "ADM User Changed Notifier".
    void click(ADMItemRef item);
    /// A press at h0, one move a pixel with the button held towards h1, a release at h1, to the
    /// item's track procedure; item coordinates, v at the item's middle.
    void drag(ADMItemRef item, ASInt32 h0, ASInt32 h1);
    /// The close box of a non-modal dialog: hidden, with "ADM Hide Window Notifier".
    void close(ADMDialogRef dialog);
    /// Escape in the innermost modal dialog: its run ends as when its events run out (its enabled Cancel
    /// button is clicked, the run answers kCancelButtonID), but as the person's choice, not an error.
    void dismiss(ADMDialogRef dialog);

    // What the host does between events.

    /// Where modal runs take the person's actions from.
    void setEventSource(EventSource source) { source_ = std::move(source); }
    /// Calls the draw procedures of the visible dialogs and items that need drawing: invalidated,
    /// changed, or shown for the first time. What they invalidate while drawing waits for the next pass.
    void drawPending();
    /// A procedure or a modal run is open: the host must not act on its own now.
    bool busy() const { return procedureDepth_ > 0 || !runs_.empty(); }
    /// Throws, once, what went wrong inside the modal runs (the event source's exception, or events
    /// that ran out), when no run and no procedure is open any more.
    void throwPendingError();

    /// "dialogs": every dialog, oldest first, with its items.
    void dump(nlohmann::json& out) const;

private:
    friend struct DialogSuites;
    friend struct ListSuites;
    friend struct EventSuites;

    struct Notification {
        ADMDialogRef dialog;
        ADMItemRef item;
        std::string type;
    };
    struct Track {
        ASPoint point;
        ADMMouseState state;
    };
    struct Drawer {
        ASPoint origin{};  ///< the drawn item's top-left in dialog pixels
        ASRect bounds{};   ///< in the drawn item's or dialog's own pixels
        ASInt32 color = kADMBlackColor;
        ASInt32 font = kADMDefaultFont;
        DialogDisplayList operations;
    };
    struct ModalRun {
        ADMDialogRef dialog;
        std::optional<ASInt32> result;
    };

    /// Counts a plug-in procedure as running for as long as it lives.
    class ProcedureScope {
    public:
        explicit ProcedureScope(DialogManager& manager) : manager_(manager) { ++manager_.procedureDepth_; }
        ~ProcedureScope() { --manager_.procedureDepth_; }
        ProcedureScope(const ProcedureScope&) = delete;
        ProcedureScope& operator=(const ProcedureScope&) = delete;

    private:
        DialogManager& manager_;
    };

    static void registerDialogSuites(SuiteRegistry& registry);
    static void registerListSuites(SuiteRegistry& registry);
    static void registerEventSuites(SuiteRegistry& registry);

    ADMDialogRef makeDialog(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style, bool modal,
                            ADMUserData data);
    /// Runs initProc; false (and the dialog removed) when it fails or the dialog went meanwhile.
    bool initialise(ADMDialogRef dialog, ADMDialogInitProc initProc);
    /// Removes the dialog and everything it holds, without procedures.
    void erase(ADMDialogRef dialog);
    ADMListRef makeList(ADMItemRef item);
    ADMEntryRef insertEntry(ADMListRef list, ASInt32 index);
    void clearEntries(ADMListRef list);
    /// Fills the list from the bundle's menu resource; false when there is none.
    bool setMenu(ADMListRef list, SPPluginRef plugin, ASInt32 menuID);

    void invalidate(ADMItemRef item);
    void invalidateDialog(ADMDialogRef dialog);
    /// The item's text from its value, for the items that show one.
    void updateText(Item& item);
    /// The value a text means in the item's units, held as the item holds it; none when it means none.
    std::optional<float> readValue(const Item& item, const std::string& utf8) const;

    void notifyItem(ADMItemRef item, const char* type);
    void notifyDialog(ADMDialogRef dialog, ADMItemRef about, const char* type);
    void trackItem(ADMItemRef item, ASPoint point, ADMMouseState state);
    void drawItem(ADMItemRef item);
    void drawDialog(ADMDialogRef dialog);

    /// The dialog a person acts on: HostError when it can't be; the dialog otherwise.
    Dialog& reachable(ADMDialogRef dialog) const;
    /// The item a person acts on: HostError when its dialog can't be reached; null when it takes no action.
    Item* actionable(ADMItemRef item);
    /// Types into a field already checked, then the two notifications.
    void enter(ADMItemRef field, const std::string& utf8);
    /// Sets a field's value already checked (held units), then the two notifications.
    void enterValue(ADMItemRef field, float value);
    /// An edit of the field is done: it is redrawn, takes the focus, and the two notifications go out.
    void confirmEdit(ADMItemRef field);
    /// Picks an entry of the item's list already checked, then the notification.
    void choose(ADMItemRef item, ADMEntryRef entry);

    ModalRun* run(ADMDialogRef dialog);
    /// The next action from the source; false when there is none (the error is kept).
    bool pullEvent(ADMDialogRef dialog);
    /// Ends the run as the Escape key would: push button 2 is clicked, and the run ends with 2 if it
    /// is still open.
    void cancel(ADMDialogRef dialog);
    void keepError(std::exception_ptr error);

    Plugins& plugins_;
    const Icons& icons_;
    AdmBasic& basic_;
    HandleTable<ADMDialogRef, Dialog> dialogs_;
    HandleTable<ADMItemRef, Item> items_;
    HandleTable<ADMListRef, List> lists_;
    HandleTable<ADMEntryRef, Entry> entries_;
    HandleTable<ADMNotifierRef, Notification> notifications_;
    HandleTable<ADMTrackerRef, Track> tracks_;
    HandleTable<ADMDrawerRef, Drawer> drawers_;
    std::vector<ModalRun> runs_;
    EventSource source_;
    bool sourceDry_ = false;
    std::exception_ptr pendingError_;
    int procedureDepth_ = 0;
};

}  // namespace host
