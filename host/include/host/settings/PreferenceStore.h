// The preference store: typed values (bool, int32, real) under a prefix and a key,
// kept in a JSON file that a person can read and edit.
//
// The file is only ever replaced whole (temporary file, fsync, rename), and a file
// that cannot be read back is set aside, never written over. A save removes the
// temporary files that saves of the same file left behind when their process died.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

#include "host/platform/AtomicFile.h"

namespace host {

class SuiteRegistry;

class PreferenceStore {
public:
    using Value = std::variant<bool, std::int32_t, double>;

    /// Lives in memory only.
    PreferenceStore();
    /// Bound to a JSON file; nothing is read until load().
    explicit PreferenceStore(std::filesystem::path file);
    PreferenceStore(const PreferenceStore&) = delete;
    PreferenceStore& operator=(const PreferenceStore&) = delete;
    ~PreferenceStore();

    const std::optional<std::filesystem::path>& file() const { return file_; }

    /// Replaces the values with the file's. A missing file gives an empty store and no
    /// message. A damaged file (not JSON, or entries of the wrong shape) is moved to
    /// FILE.corrupt (or FILE.corrupt.1, .2 … when that exists), the store starts empty
    /// and the answer is one warning line saying what was wrong and where the file is now.
    /// Throws StoreError, changing nothing, when the file can't be read or set aside.
    std::optional<std::string> load();

    /// Replaces the file atomically. Throws StoreError when that fails; the previous file
    /// is then left whole. An in-memory store does nothing.
    void save() const;

    std::optional<Value> get(std::string_view prefix, std::string_view key) const;
    /// Throws std::invalid_argument for a non-finite real or a prefix or key that is not
    /// UTF-8; nothing is stored then.
    void put(std::string prefix, std::string key, Value value);
    /// False when there was no such value.
    bool remove(std::string_view prefix, std::string_view key);

    /// [{"prefix": …, "key": …, "kind": "bool" | "int" | "real", "value": …}, …] sorted by
    /// prefix, then key: the same shape as the file.
    nlohmann::json dump() const;

    /// Registers "AI Preference Suite" 1004 and makes this the instance its functions reach.
    void registerSuites(SuiteRegistry& registry);

private:
    using Keys = std::map<std::string, Value, std::less<>>;
    using Prefixes = std::map<std::string, Keys, std::less<>>;

    template <class Json>
    Json entries() const;

    std::optional<std::filesystem::path> file_;
    Prefixes values_;
};

/// The store's file in the person's configuration folder: $XDG_CONFIG_HOME/orvane/prefs.json, or
/// ~/.config/orvane/prefs.json when XDG_CONFIG_HOME is unset, empty or not absolute. StoreError
/// when there is no home folder either. The folder is created (private to the person) at the first save.
std::filesystem::path defaultPreferenceFile();

}  // namespace host
