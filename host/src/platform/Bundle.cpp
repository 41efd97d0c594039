#include "host/platform/Bundle.h"

#include <dlfcn.h>

#include <fstream>

#include "host/platform/HostError.h"
#include "host/text/MacRoman.h"

namespace host {

namespace fs = std::filesystem;

namespace {

fs::path findModule(const fs::path& folder, const std::string& name) {
    fs::path preferred = folder / (name + ".so");
    if (fs::is_regular_file(preferred)) return preferred;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().extension() == ".so") return entry.path();
    throw HostError("plug-in bundle " + folder.string() + " holds no module (" + name + ".so)");
}

nlohmann::json readResourceTable(const fs::path& file) {
    if (!fs::exists(file)) return nlohmann::json::object();
    std::ifstream in(file);
    try {
        nlohmann::json table = nlohmann::json::parse(in);
        if (!table.is_object()) throw HostError(file.string() + ": the resource table is not a JSON object");
        return table;
    } catch (const nlohmann::json::exception& error) {
        throw HostError(file.string() + ": " + error.what());
    }
}

}  // namespace

Bundle::Bundle(fs::path folder) : folder_(std::move(folder)), name_(folder_.stem().string()) {
    resources_ = readResourceTable(folder_ / "Resources" / "resources.json");
    fs::path module = findModule(folder_, name_);
    module_ = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module_) throw HostError("can't load " + module.string() + ": " + dlerror());
    entry_ = reinterpret_cast<EntryPoint>(dlsym(module_, "PluginMain"));
    if (!entry_) {
        dlclose(module_);
        throw HostError(module.string() + " has no PluginMain");
    }
}

Bundle::~Bundle() {
    if (module_) dlclose(module_);
}

std::optional<std::string> Bundle::indexString(int listID, int index) const {
    auto lists = resources_.find("strings");
    if (lists == resources_.end()) return std::nullopt;
    auto list = lists->find(std::to_string(listID));
    if (list == lists->end() || !list->is_array() || index < 1 || index > static_cast<int>(list->size()))
        return std::nullopt;
    const auto& entry = (*list)[static_cast<std::size_t>(index - 1)];
    if (!entry.is_string()) return std::nullopt;
    return utf8ToMacRoman(entry.get<std::string>());
}

std::optional<fs::path> Bundle::image(std::string_view kind, int id) const {
    for (const char* extension : {".svg", ".png"}) {
        fs::path candidate = folder_ / "Resources" / fs::path(kind) / (std::to_string(id) + extension);
        if (fs::is_regular_file(candidate)) return candidate;
    }
    return std::nullopt;
}

}  // namespace host
