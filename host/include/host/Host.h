// The host: its pieces tied together, and what a person does at it — start the
// application, use tools, menus and dialogs, quit — so that the replay program,
// the workbench and the tests all drive the plug-ins the same way.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "host/commands/Menus.h"
#include "host/commands/Tools.h"
#include "host/dialogs/AdmBasic.h"
#include "host/dialogs/DialogManager.h"
#include "host/dialogs/Icons.h"
#include "host/document/Document.h"
#include "host/document/History.h"
#include "host/document/HitTesting.h"
#include "host/document/Svg.h"
#include "host/platform/AppContexts.h"
#include "host/platform/BlockAllocator.h"
#include "host/platform/HostError.h"
#include "host/platform/Notifiers.h"
#include "host/platform/Plugins.h"
#include "host/platform/SuiteRegistry.h"
#include "host/settings/PreferenceStore.h"
#include "host/text/UnicodeStrings.h"
#include "host/view/AnnotationDrawer.h"
#include "host/view/Annotators.h"
#include "host/view/DocumentViews.h"

namespace host {

class Host {
public:
    struct Options {
        std::filesystem::path pluginsDir;
        /// The preference store's file; without one the store lives in memory.
        std::optional<std::filesystem::path> prefsFile;
        /// Where the host's warnings go (a damaged preference file, say); standard error by default.
        std::function<void(const std::string&)> warn;
    };

    /// Reads the preference file: a damaged one is set aside with a warning.
    explicit Host(Options options);
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    ~Host();

    SuiteRegistry& suites() { return suites_; }
    BlockAllocator& memory() { return memory_; }
    PreferenceStore& preferences() { return preferences_; }
    Plugins& plugins() { return plugins_; }
    AdmBasic& basic() { return basic_; }
    Notifiers& notifiers() { return notifiers_; }
    Annotators& annotators() { return annotators_; }
    UnicodeStrings& strings() { return strings_; }
    AnnotationDrawer& drawer() { return drawer_; }
    AppContexts& contexts() { return contexts_; }
    DocumentViews& views() { return views_; }
    Icons& icons() { return icons_; }
    Menus& menus() { return menus_; }
    Tools& tools() { return tools_; }
    Document& document() { return document_; }
    const Document& document() const { return document_; }
    HitTesting& hitTesting() { return hitTesting_; }
    DialogManager& dialogs() { return dialogs_; }
    const DialogManager& dialogs() const { return dialogs_; }
    History& history() { return history_; }
    const History& history() const { return history_; }

    /// Loads the bundles, sends each its start-up, then the application-started notification. Throws HostError
    /// when a bundle can't be loaded, or when the host started before (even if it quit since).
    void start();
    bool started() const { return started_; }

    /// A message with a plain record to every plug-in; the last result. "SP Interface" "Startup" and
    /// "Shutdown" and "SP Access" "Unload" and "Reload" are the host's own start, quit, unload and
    /// reload, with their errors.
    ASErr send(const std::string& caller, const std::string& selector);
    /// "SP Access" "Unload" to every loaded plug-in that holds no lock on itself; "Reload" to every
    /// unloaded one. HostError while a plug-in's call or a modal run is under way, as for quit.
    void unload();
    void reload();
    /// The application-shutdown notification, then shutdown; the store is saved (StoreError).
    void quit();

    /// Sends a notification of the type to every notifier registered for it.
    void notify(const std::string& type);

    // A person at the toolbox and the canvas. Each action ends with afterEvent().

    /// Selects the tool registered under name; HostError when there is none.
    void selectTool(const std::string& name);
    /// Selects the host's own selection tool.
    void deselect();
    /// "AI Edit Options" to the selected tool (a double-click on its icon); HostError when it is the host's.
    void editTool();
    /// One cursor movement, to a tool that asked to track the cursor. modifiers: shiftKey, optionKey, controlKey.
    void move(AIRealPoint cursor, ASUInt16 modifiers);
    /// Mouse down then mouse up at the point, with no movement in between.
    void click(AIRealPoint cursor, ASUInt16 modifiers);
    /// A key pressed over the canvas: "AI Key Down" to the selected tool. True when the tool used it;
    /// otherwise the key is the host's (its shortcuts).
    bool key(ASUInt32 character, ASUInt16 modifiers);

    /// "AI Update" to every menu item that asked for it, as before a menu is shown.
    void updateMenus();
    /// A person chooses the menu item whose text is textUtf8: the update messages, then "AI Go" to its
    /// plug-in; the plug-in's answer. HostError when no item runs a command with that text.
    ASErr chooseMenuItem(const std::string& textUtf8);

    // A person at the dialogs. HostError when the dialog or the item does not exist, is hidden, or
    // another dialog's modal run is open; nothing happens on an item that is disabled, hidden or outside
    // its dialog. Each action ends with afterEvent().

    /// The dialog of the innermost modal run, or null.
    ADMDialogRef modalDialog() const { return dialogs_.innermostModal(); }
    /// Where modal runs take the person's next actions from: called again and again while a run is
    /// open, it carries out one action and answers true, or answers false when nothing more will come
    /// (the run then ends as if cancelled, and the error is thrown once the plug-in's message returned).
    void setModalEventSource(std::function<bool()> source) { dialogs_.setEventSource(std::move(source)); }
    /// Types text (UTF-8, in the field's units as shown) into field itemID and confirms it.
    void typeIntoItem(ADMDialogRef dialog, ASInt32 itemID, const std::string& text);
    /// Picks the preset entry with that ID in field itemID's popup.
    void pickPreset(ADMDialogRef dialog, ASInt32 itemID, ASInt32 entryID);
    /// Presses the up or down arrow of a spin edit, with Shift when large.
    void stepItem(ADMDialogRef dialog, ASInt32 itemID, bool up, bool large);
    /// Picks the entry at position (from 0) of item itemID's list.
    void pickEntry(ADMDialogRef dialog, ASInt32 itemID, ASInt32 position);
    /// Chooses the entry at index (from 0) of the dialog's fly-out menu.
    void chooseDialogMenu(ADMDialogRef dialog, ASInt32 index);
    void clickItem(ADMDialogRef dialog, ASInt32 itemID);
    /// Presses on item itemID at h0, moves to h1 with the button held and releases (item pixels).
    void dragItem(ADMDialogRef dialog, ASInt32 itemID, ASInt32 h0, ASInt32 h1);
    /// Closes a non-modal dialog with its close box.
    void closeDialog(ADMDialogRef dialog);
    /// Escape in the innermost modal dialog: it ends as cancelled.
    void dismissDialog(ADMDialogRef dialog);

    // The document as a whole. Each action is one step of the history (none when nothing changed);
    // undo, redo, openSvg and edit end with afterEvent(). HostError while a plug-in's call, a dialog's
    // procedure or a modal run is under way.

    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    /// Puts back the document as it was before the last step (restored art has new handles); false
    /// when there is nothing to undo.
    bool undo();
    /// Does the last undone step again (with new handles); false when there is nothing to redo.
    bool redo();
    /// A new document in place of the one open: one empty layer, no page and no history, so that
    /// undo never reaches into the former one.
    void newDocument();
    /// A new document holding the layers and paths of the SVG file, with no history, keeping the file for
    /// saving; what the file holds that was repaired or passed over. SvgError for a file that can't be read
    /// or used, leaving the document as it was.
    std::vector<SvgWarning> openSvg(const std::filesystem::path& file);
    /// Writes the document as an SVG file, replacing the file whole; SvgError when that fails.
    void saveSvg(const std::filesystem::path& file) const;
    /// A person changes the document with the host's own means (a path drawn, art deleted…): one step.
    void edit(const std::function<void(Document&)>& change);
    /// Why the latest new art was refused (its layer is locked or hidden), once; the host beeped then.
    std::optional<std::string> takeRefusal() { return std::exchange(refusal_, std::nullopt); }

    /// What the host does once an event's messages have returned: the tool switches plug-ins asked for,
    /// the drawing of dialogs, the redraw of an invalid view, then the error of a modal run, if one
    /// went wrong. Nothing while a plug-in's call or procedure is still running.
    void afterEvent();
    /// Redraws the view and makes it valid again.
    void redraw();
    /// What the annotators drew at the latest redraw, in the order they drew it.
    const DisplayList& frame() const { return frame_; }

    nlohmann::json dumpHost() const;

private:
    Options options_;
    SuiteRegistry suites_;
    BlockAllocator memory_;
    PreferenceStore preferences_;
    Plugins plugins_;
    AdmBasic basic_;
    Notifiers notifiers_;
    Annotators annotators_;
    UnicodeStrings strings_;
    AnnotationDrawer drawer_{strings_};
    Menus menus_{strings_};
    DisplayList frame_;
    AppContexts contexts_;
    DocumentViews views_;
    Icons icons_;
    Tools tools_;
    Document document_;
    HitTesting hitTesting_{document_, &views_};
    History history_{document_};
    DialogManager dialogs_{plugins_, icons_, basic_};
    std::optional<std::string> refusal_;
    bool started_ = false;
    bool quit_ = false;
    ASUInt32 ticks_ = 0;

    /// The cursor's pixel in the view; HostError for a point that is not finite.
    AIPoint viewPointOf(AIRealPoint cursor) const;
    void sendToTool(const char* selector, AIRealPoint cursor, AIPoint where, ASUInt16 what, ASUInt16 modifiers);
    /// "Reload" to the plug-ins that were unloaded.
    void reloadUnloaded();
    /// HostError unless the document can be changed as a whole now.
    void checkIdle(const char* what) const;
    /// Item itemID of the dialog; HostError when there is none.
    ADMItemRef itemOf(ADMDialogRef dialog, ASInt32 itemID) const;
};

}  // namespace host
