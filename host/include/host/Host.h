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
#include "host/Annotators.h"
#include "host/AppContexts.h"
#include "host/BlockAllocator.h"
#include "host/Notifiers.h"
#include "host/Plugins.h"
#include "host/PreferenceStore.h"
#include "host/SuiteRegistry.h"
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
    AppContexts& contexts() { return contexts_; }

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
    AppContexts contexts_;
    bool started_ = false;
};

}  // namespace host
