// The plug-in manager: the bundles, the basic suite every message carries, the
// SP Access and SP Plug-ins suites, and the sending of messages.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "AIMessages.h"
#include "SPBasic.h"
#include "host/platform/BlockAllocator.h"
#include "host/platform/Bundle.h"
#include "host/platform/HostError.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

/// The environment variable that names the folder of plug-in bundles to use instead of the program's own.
constexpr const char* kPluginFolderVariable = "ORVANE_PLUGINS";

/// The plug-in folder of the programs in programFolder: `../lib/orvane/plugins` when they are installed,
/// else the build's `../plugins`; the installed one when neither exists.
std::filesystem::path pluginFolderBeside(const std::filesystem::path& programFolder);

/// The folder named by ORVANE_PLUGINS when it is set, else the running program's own plug-in folder.
std::filesystem::path defaultPluginFolder();

class Plugins {
public:
    Plugins(SuiteRegistry& registry, BlockAllocator& memory);
    ~Plugins();

    void registerSuites(SuiteRegistry& registry);

    /// Loads every NAME.aip bundle of the folder, in name order; throws HostError.
    void loadFolder(const std::filesystem::path& folder);

    std::size_t count() const { return plugins_.size(); }
    Bundle& bundle(std::size_t index) { return *plugins_[index].bundle; }
    SPPluginRef ref(std::size_t index) const;
    /// The bundle of a reference the host gave out, or null.
    Bundle* find(SPPluginRef plugin) const;
    std::size_t indexOf(SPPluginRef plugin) const;

    /// Sends one message to a plug-in. The record starts with SPMessageData, which is filled in here;
    /// the globals slot the plug-in leaves in it is kept for its next message.
    ASErr send(std::size_t index, const char* caller, const char* selector, SPMessageData& message);
    /// Sends a message in a zeroed record large enough for any handler that reads it.
    ASErr sendPlain(std::size_t index, const char* caller, const char* selector);

    /// True while a plug-in is running a message (its calls back into the host happen then).
    bool insideCall() const { return depth_ > 0; }

    const std::string& pluginName(std::size_t index) const { return plugins_[index].name; }
    int locks(std::size_t index) const { return plugins_[index].locks; }
    /// False once the plug-in was told to unload, until it is told to reload.
    bool loaded(std::size_t index) const { return plugins_[index].loaded; }
    void setLoaded(std::size_t index, bool loaded) { plugins_[index].loaded = loaded; }

    void dump(nlohmann::json& out) const;

private:
    /// A loaded bundle and what the host keeps of it.
    struct Plugin {
        std::unique_ptr<Bundle> bundle;
        /// The bundle's name until the plug-in sets its own.
        std::string name;
        /// SP Access acquisitions not yet released.
        int locks = 0;
        bool loaded = true;
    };

    /// The record of a reference the host gave out, or null.
    Plugin* record(SPPluginRef plugin);

    static ASErr acquireSuite(const char* name, ASInt32 version, const void** suite);
    static ASErr releaseSuite(const char* name, ASInt32 version);
    static ASBoolean isEqual(const char* token1, const char* token2);
    static ASErr allocateBlock(std::size_t size, void** block);
    static ASErr freeBlock(void* block);
    static ASErr reallocateBlock(void* block, std::size_t size, void** newBlock);
    static ASErr undefined();
    static ASErr acquirePlugin(SPPluginRef plugin, SPAccessRef* access);
    static ASErr releasePlugin(SPAccessRef access);
    static ASErr getPluginAccess(SPPluginRef plugin, SPAccessRef* access);
    static ASErr setPluginName(SPPluginRef plugin, const char* name);
    static ASErr getPluginName(SPPluginRef plugin, const char** name);

    SuiteRegistry& registry_;
    BlockAllocator& memory_;
    SPBasicSuite basic_;
    std::vector<Plugin> plugins_;
    int depth_ = 0;
};

}  // namespace host
