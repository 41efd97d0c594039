// The host: its pieces tied together, and what a person does at it — start the
// application, use tools, menus and dialogs, quit — so that the replay program,
// the workbench and the tests all drive the plug-ins the same way.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "host/AdmBasic.h"
#include "host/AnnotationDrawer.h"
#include "host/Annotators.h"
#include "host/AppContexts.h"
#include "host/BlockAllocator.h"
#include "host/Document.h"
#include "host/DocumentViews.h"
#include "host/HitTesting.h"
#include "host/Icons.h"
#include "host/Notifiers.h"
#include "host/Plugins.h"
#include "host/PreferenceStore.h"
#include "host/SuiteRegistry.h"
#include "host/Tools.h"
#include "host/UnicodeStrings.h"

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
    Tools& tools() { return tools_; }
    Document& document() { return document_; }
    const Document& document() const { return document_; }
    HitTesting& hitTesting() { return hitTesting_; }

    /// Loads the bundles, sends each its start-up, then the application-started notification. Throws HostError when a bundle can't be loaded.
    void start();
    bool started() const { return started_; }

    /// A message with a plain record to every plug-in; the last result.
    ASErr send(const std::string& caller, const std::string& selector);
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

    /// What the host does once an event's messages have returned: the tool switches plug-ins asked for,
    /// then the redraw of an invalid view. Nothing while a plug-in's call is still running.
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
    DisplayList frame_;
    AppContexts contexts_;
    DocumentViews views_;
    Icons icons_;
    Tools tools_;
    Document document_;
    HitTesting hitTesting_{document_};
    bool started_ = false;
    ASUInt32 ticks_ = 0;

    /// The cursor's pixel in the view; HostError for a point that is not finite.
    AIPoint viewPointOf(AIRealPoint cursor) const;
    void sendToTool(const char* selector, AIRealPoint cursor, AIPoint where, ASUInt16 what, ASUInt16 modifiers);
};

}  // namespace host
