// A plug-in bundle: a folder NAME.aip holding the module NAME.so and its Resources/.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "ASTypes.h"

namespace host {

class Bundle {
public:
    using EntryPoint = ASErr (*)(const char* caller, const char* selector, void* message);

    /// Loads the module with dlopen and reads the resource table; throws HostError.
    explicit Bundle(std::filesystem::path folder);
    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;
    ~Bundle();

    const std::string& name() const { return name_; }
    const std::filesystem::path& folder() const { return folder_; }

    /// Calls PluginMain. The caller's record carries the globals slot, which the bundle keeps.
    ASErr main(const char* caller, const char* selector, void* message) const {
        return entry_(caller, selector, message);
    }
    void* globals() const { return globals_; }
    void setGlobals(void* globals) { globals_ = globals; }

    /// Entry index (from 1) of string list listID, in the platform encoding (Mac OS Roman).
    std::optional<std::string> indexString(int listID, int index) const;
    /// Resources/KIND/ID.svg or .png, when the bundle has it.
    std::optional<std::filesystem::path> image(std::string_view kind, int id) const;
    /// Resources/resources.json: string lists, menus and other tables of the bundle.
    const nlohmann::json& resourceTable() const { return resources_; }

private:
    std::filesystem::path folder_;
    std::string name_;
    void* module_ = nullptr;
    EntryPoint entry_ = nullptr;
    void* globals_ = nullptr;
    nlohmann::json resources_;
};

}  // namespace host
