#include "host/platform/Plugins.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace host {

namespace fs = std::filesystem;

namespace {

using Active = ActivePiece<Plugins>;

// References encode the bundle's index; the host never dereferences them.
constexpr std::uintptr_t kPluginRefBase = 0x504C0000;
constexpr std::uintptr_t kAccessRefBase = 0x41430000;

template <class Ref>
Ref encode(std::uintptr_t base, std::size_t index) {
    return reinterpret_cast<Ref>(base + index + 1);
}

template <class Ref>
std::size_t decode(std::uintptr_t base, Ref ref, std::size_t count) {
    auto value = reinterpret_cast<std::uintptr_t>(ref);
    if (value <= base || value > base + count) return count;
    return value - base - 1;
}

}  // namespace

fs::path pluginFolderBeside(const fs::path& programFolder) {
    // An installed tree is looked for first: the build never has its layout.
    fs::path installed = (programFolder / ORVANE_INSTALLED_PLUGINS).lexically_normal();
    if (fs::is_directory(installed)) return installed;
    fs::path build = (programFolder / ORVANE_BUILD_PLUGINS).lexically_normal();
    return fs::is_directory(build) ? build : installed;
}

fs::path defaultPluginFolder() {
    if (const char* folder = std::getenv(kPluginFolderVariable); folder && *folder) return folder;
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    return pluginFolderBeside(error ? fs::current_path() : self.parent_path());
}

Plugins::Plugins(SuiteRegistry& registry, BlockAllocator& memory)
    : registry_(registry), memory_(memory), basic_{&acquireSuite, &releaseSuite,    &isEqual,  &allocateBlock,
                                                   &freeBlock,    &reallocateBlock, &undefined} {}

Plugins::~Plugins() {
    Active::clear(this);
}

void Plugins::registerSuites(SuiteRegistry& registry) {
    static const SPAccessSuite access = {&acquirePlugin, &releasePlugin, &getPluginAccess};
    static const SPPluginsSuite plugins = {&setPluginName, &getPluginName};
    Active::set(this);
    registry.add(kSPBasicSuite, kSPBasicSuiteVersion, &basic_);
    registry.add(kSPAccessSuite, kSPAccessSuiteVersion, &access);
    registry.add(kSPPluginsSuite, kSPPluginsSuiteVersion, &plugins);
}

void Plugins::loadFolder(const fs::path& folder) {
    if (!fs::is_directory(folder)) throw HostError("plug-in folder " + folder.string() + " does not exist");
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_directory() && entry.path().extension() == ".aip") found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    if (found.empty()) throw HostError("plug-in folder " + folder.string() + " holds no bundle (NAME.aip)");
    for (const auto& path : found) {
        auto bundle = std::make_unique<Bundle>(path);
        std::string name = bundle->name();
        plugins_.push_back({std::move(bundle), std::move(name)});
    }
}

SPPluginRef Plugins::ref(std::size_t index) const {
    return encode<SPPluginRef>(kPluginRefBase, index);
}

std::size_t Plugins::indexOf(SPPluginRef plugin) const {
    return decode(kPluginRefBase, plugin, plugins_.size());
}

Bundle* Plugins::find(SPPluginRef plugin) const {
    std::size_t index = indexOf(plugin);
    return index < plugins_.size() ? plugins_[index].bundle.get() : nullptr;
}

Plugins::Plugin* Plugins::record(SPPluginRef plugin) {
    std::size_t index = indexOf(plugin);
    return index < plugins_.size() ? &plugins_[index] : nullptr;
}

ASErr Plugins::send(std::size_t index, const char* caller, const char* selector, SPMessageData& message) {
    Bundle& target = *plugins_.at(index).bundle;
    message.self = ref(index);
    message.globals = target.globals();
    message.basic = &basic_;
    ++depth_;
    ASErr result = target.main(caller, selector, &message);
    --depth_;
    target.setGlobals(message.globals);
    return result;
}

ASErr Plugins::sendPlain(std::size_t index, const char* caller, const char* selector) {
    // Whatever record type the plug-in takes this pair for, it reads zeros and nulls.
    union AnyRecord {
        SPMessageData d;
        AINotifierMessage notifier;
        AIToolMessage tool;
        AIMenuMessage menu;
        AIAnnotatorMessage annotator;
        SPPropertiesMessage properties;
        unsigned char room[512];
    } record;
    std::memset(&record, 0, sizeof record);
    return send(index, caller, selector, record.d);
}

void Plugins::dump(nlohmann::json& out) const {
    auto& list = out["plugins"] = nlohmann::json::array();
    for (const Plugin& plugin : plugins_)
        list.push_back({{"bundle", plugin.bundle->name()}, {"name", plugin.name}, {"locks", plugin.locks}});
}

ASErr Plugins::acquireSuite(const char* name, ASInt32 version, const void** suite) {
    return guardedCall<Plugins>([&](Plugins& self) { return self.registry_.acquire(name, version, suite); });
}

ASErr Plugins::releaseSuite(const char* name, ASInt32 version) {
    return guardedCall<Plugins>([&](Plugins& self) { return self.registry_.release(name, version); });
}

ASBoolean Plugins::isEqual(const char* token1, const char* token2) {
    return token1 && token2 && std::strcmp(token1, token2) == 0;
}

ASErr Plugins::allocateBlock(std::size_t size, void** block) {
    return guardedCall<Plugins>([&](Plugins& self) { return self.memory_.allocate(size, block); });
}

ASErr Plugins::freeBlock(void* block) {
    return guardedCall<Plugins>([&](Plugins& self) { return self.memory_.free(block); });
}

ASErr Plugins::reallocateBlock(void* block, std::size_t size, void** newBlock) {
    return guardedCall<Plugins>([&](Plugins& self) { return self.memory_.reallocate(block, size, newBlock); });
}

ASErr Plugins::undefined() {
    return kSPBadParameterError;
}

ASErr Plugins::acquirePlugin(SPPluginRef plugin, SPAccessRef* access) {
    if (!access) return kBadParameterErr;
    *access = nullptr;
    return guardedCall<Plugins>([&](Plugins& self) {
        std::size_t index = self.indexOf(plugin);
        if (index >= self.plugins_.size()) return kBadHandleErr;
        ++self.plugins_[index].locks;
        *access = encode<SPAccessRef>(kAccessRefBase, index);
        return kNoErr;
    });
}

ASErr Plugins::releasePlugin(SPAccessRef access) {
    return guardedCall<Plugins>([&](Plugins& self) {
        std::size_t index = decode(kAccessRefBase, access, self.plugins_.size());
        if (index >= self.plugins_.size() || self.plugins_[index].locks == 0) return kBadHandleErr;
        --self.plugins_[index].locks;
        return kNoErr;
    });
}

ASErr Plugins::getPluginAccess(SPPluginRef plugin, SPAccessRef* access) {
    if (!access) return kBadParameterErr;
    *access = nullptr;
    return guardedCall<Plugins>([&](Plugins& self) {
        std::size_t index = self.indexOf(plugin);
        if (index >= self.plugins_.size()) return kBadHandleErr;
        *access = encode<SPAccessRef>(kAccessRefBase, index);
        return kNoErr;
    });
}

ASErr Plugins::setPluginName(SPPluginRef plugin, const char* name) {
    if (!name) return kBadParameterErr;
    return guardedCall<Plugins>([&](Plugins& self) {
        Plugin* found = self.record(plugin);
        if (!found) return kBadHandleErr;
        found->name = name;
        return kNoErr;
    });
}

ASErr Plugins::getPluginName(SPPluginRef plugin, const char** name) {
    if (!name) return kBadParameterErr;
    *name = nullptr;
    return guardedCall<Plugins>([&](Plugins& self) {
        const Plugin* found = self.record(plugin);
        if (!found) return kBadHandleErr;
        *name = found->name.c_str();
        return kNoErr;
    });
}

}  // namespace host
