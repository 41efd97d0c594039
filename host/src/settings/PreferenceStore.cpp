#include "host/settings/PreferenceStore.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <set>
#include <system_error>
#include <vector>

#include "AIPreference.h"
#include "host/platform/SuiteRegistry.h"
#include "host/text/MacRoman.h"

namespace fs = std::filesystem;

namespace host {

namespace {

using Values = std::map<std::string, std::map<std::string, PreferenceStore::Value, std::less<>>, std::less<>>;

std::string errnoText(int error) {
    return std::system_category().message(error);
}

const char* kindName(const PreferenceStore::Value& value) {
    switch (value.index()) {
        case 0:
            return "bool";
        case 1:
            return "int";
        default:
            return "real";
    }
}

// ---- reading ------------------------------------------------------------------

/// The file's bytes; nullopt when there is no such file.
std::optional<std::string> readFile(const fs::path& file) {
    auto fail = [&](int error) {
        throw StoreError("cannot read preferences from " + file.string() + ": " + errnoText(error));
    };
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        fail(errno);
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int error = errno;
            ::close(fd);
            fail(error);
        }
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

/// What makes a file unreadable as preferences; the message says where.
class Damage : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string inQuotes(std::string_view text) {
    return nlohmann::json(std::string(text)).dump();
}

/// The JSON text, with any object that names a member twice counted as damage: the
/// parser alone would keep the last one without a word.
nlohmann::json parseStrict(const std::string& text) {
    std::vector<std::set<std::string>> objects;
    bool list = false;
    std::size_t entry = 0;
    auto check = [&](int depth, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
        using Event = nlohmann::json::parse_event_t;
        if (depth == 0 && event == Event::array_start) list = true;
        if (list && depth == 1 &&
            (event == Event::object_start || event == Event::array_start || event == Event::value))
            ++entry;
        if (event == Event::object_start) objects.emplace_back();
        if (event == Event::object_end) objects.pop_back();
        if (event == Event::key && !objects.empty() && !objects.back().insert(parsed.get<std::string>()).second) {
            std::string where = list ? "entry " + std::to_string(entry) : std::string("an object");
            throw Damage(where + " has the member " + inQuotes(parsed.get<std::string>()) + " twice");
        }
        return true;
    };
    try {
        return nlohmann::json::parse(text, check);
    } catch (const nlohmann::json::exception& error) {
        // Drop the library's "[json.exception.parse_error.101] " tag.
        std::string message = error.what();
        if (auto end = message.find("] "); message.starts_with("[json.exception") && end != std::string::npos)
            message.erase(0, end + 2);
        throw Damage(message);
    }
}

PreferenceStore::Value valueOf(const nlohmann::json& value, const std::string& kind, const std::string& where) {
    auto mismatch = [&] {
        return Damage(where + ": kind " + inQuotes(kind) + " does not match the value " + value.dump());
    };
    if (kind == "bool") {
        if (!value.is_boolean()) throw mismatch();
        return value.get<bool>();
    }
    if (kind == "int") {
        constexpr auto low = std::numeric_limits<std::int32_t>::min();
        constexpr auto high = std::numeric_limits<std::int32_t>::max();
        if (value.is_number_unsigned()) {
            if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(high))
                throw Damage(where + ": " + value.dump() + " is outside the 32-bit range");
            return static_cast<std::int32_t>(value.get<std::uint64_t>());
        }
        if (value.is_number_integer()) {
            std::int64_t number = value.get<std::int64_t>();
            if (number < low || number > high)
                throw Damage(where + ": " + value.dump() + " is outside the 32-bit range");
            return static_cast<std::int32_t>(number);
        }
        throw mismatch();
    }
    if (kind == "real") {
        // A person may well write 2 for 2.0.
        if (!value.is_number()) throw mismatch();
        double number = value.get<double>();
        if (!std::isfinite(number)) throw Damage(where + ": the real " + value.dump() + " is not finite");
        return number;
    }
    throw Damage(where + ": unknown kind " + inQuotes(kind) + " (bool, int or real)");
}

Values parseStore(const std::string& text) {
    Values values;
    nlohmann::json document = parseStrict(text);
    if (!document.is_array()) throw Damage("the top level is not a list of entries");
    std::size_t index = 0;
    for (const auto& item : document) {
        std::string where = "entry " + std::to_string(++index);
        if (!item.is_object()) throw Damage(where + " is not an object");
        for (const char* member : {"prefix", "key", "kind", "value"})
            if (!item.contains(member)) throw Damage(where + " has no " + inQuotes(member));
        if (item.size() != 4) {
            for (const auto& [name, unused] : item.items())
                if (name != "prefix" && name != "key" && name != "kind" && name != "value")
                    throw Damage(where + " has an unknown member " + inQuotes(name));
        }
        for (const char* member : {"prefix", "key", "kind"})
            if (!item[member].is_string()) throw Damage(where + ": " + inQuotes(member) + " is not a string");
        const auto& prefix = item["prefix"].get_ref<const std::string&>();
        const auto& key = item["key"].get_ref<const std::string&>();
        PreferenceStore::Value value = valueOf(item["value"], item["kind"].get<std::string>(), where);
        if (!values[prefix].emplace(key, value).second)
            throw Damage(where + " repeats prefix " + inQuotes(prefix) + " key " + inQuotes(key));
    }
    return values;
}

/// Creates the missing folders of the path, private to the person as configuration folders should be.
void createFolders(const fs::path& folder) {
    if (folder.empty()) return;
    std::error_code error;
    if (fs::is_directory(folder, error)) return;
    createFolders(folder.parent_path() == folder ? fs::path() : folder.parent_path());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw StoreError("cannot create the folder " + folder.string() + ": " + errnoText(errno));
}

/// Moves a damaged file to FILE.corrupt, or the first free FILE.corrupt.N, and answers where.
fs::path setAside(const fs::path& file) {
    for (unsigned n = 0;; ++n) {
        fs::path aside = file;
        aside += n == 0 ? std::string(".corrupt") : ".corrupt." + std::to_string(n);
        // RENAME_NOREPLACE: an earlier damaged file is never written over, even by a racing host.
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) return aside;
        int error = errno;
        if (error == EEXIST) continue;
        if (error == EINVAL || error == ENOSYS) {
            // A file system without RENAME_NOREPLACE: check, then rename.
            std::error_code ignored;
            if (fs::symlink_status(aside, ignored).type() != fs::file_type::not_found) continue;
            if (::rename(file.c_str(), aside.c_str()) == 0) return aside;
            error = errno;
        }
        throw StoreError("cannot set aside the damaged preferences file " + file.string() + ": " + errnoText(error));
    }
}

// ---- the suite ------------------------------------------------------------------

template <class Stored, class Out>
AIErr getPreference(const char* prefix, const char* key, Out* out) noexcept {
    return guardedCall<PreferenceStore>([&](PreferenceStore& store) {
        if (!key || !out) return kBadParameterErr;
        auto value = store.get(prefix ? prefix : "", key);
        if (!value || !std::holds_alternative<Stored>(*value)) return kNameNotFoundErr;
        *out = static_cast<Out>(std::get<Stored>(*value));
        return kNoErr;
    });
}

AIErr putPreference(const char* prefix, const char* key, PreferenceStore::Value value) noexcept {
    return guardedCall<PreferenceStore>([&](PreferenceStore& store) {
        if (!key) return kBadParameterErr;
        if (const double* real = std::get_if<double>(&value); real && !std::isfinite(*real)) return kOutOfRangeErr;
        if (prefix == nullptr) prefix = "";
        if (!isValidUtf8(prefix) || !isValidUtf8(key)) return kBadParameterErr;
        store.put(prefix, key, value);
        return kNoErr;
    });
}

constexpr AIPreferenceSuite kSuite = {
    [](const char* prefix, const char* key, AIBoolean* value) noexcept {
        return getPreference<bool>(prefix, key, value);
    },
    [](const char* prefix, const char* key, AIBoolean value) noexcept {
        return putPreference(prefix, key, PreferenceStore::Value(value != 0));
    },
    [](const char* prefix, const char* key, ASInt32* value) noexcept {
        return getPreference<std::int32_t>(prefix, key, value);
    },
    [](const char* prefix, const char* key, ASInt32 value) noexcept {
        return putPreference(prefix, key, PreferenceStore::Value(std::int32_t{value}));
    },
    [](const char* prefix, const char* key, double* value) noexcept {
        return getPreference<double>(prefix, key, value);
    },
    [](const char* prefix, const char* key, double value) noexcept {
        return putPreference(prefix, key, PreferenceStore::Value(value));
    },
};

}  // namespace

fs::path defaultPreferenceFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path folder;
    if (config && *config && fs::path(config).is_absolute()) {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home)
            throw StoreError("cannot find the configuration folder: neither XDG_CONFIG_HOME nor HOME is set");
        folder = fs::path(home) / ".config";
    }
    return folder / "orvane" / "prefs.json";
}

PreferenceStore::PreferenceStore() = default;

PreferenceStore::PreferenceStore(fs::path file) : file_(std::move(file)) {}

PreferenceStore::~PreferenceStore() {
    ActivePiece<PreferenceStore>::clear(this);
}

std::optional<std::string> PreferenceStore::load() {
    if (!file_) return std::nullopt;
    std::optional<std::string> text = readFile(*file_);
    if (!text) {
        values_.clear();
        return std::nullopt;
    }
    std::string damage;
    try {
        values_ = parseStore(*text);
        return std::nullopt;
    } catch (const Damage& error) {
        damage = error.what();
    }
    fs::path aside = setAside(*file_);
    values_.clear();
    return "preferences file " + file_->string() + " is damaged (" + damage + "); moved it to " + aside.string() +
           " and started with empty preferences";
}

void PreferenceStore::save() const {
    if (!file_) return;
    // One entry a line: easy to read and to edit by hand.
    auto list = entries<nlohmann::ordered_json>();
    std::string text = "[";
    for (std::size_t i = 0; i < list.size(); ++i) text += (i ? ",\n  " : "\n  ") + list[i].dump();
    text += list.empty() ? "]\n" : "\n]\n";
    createFolders(file_->parent_path());
    detail::writeAtomically(*file_, text, "preferences");
}

std::optional<PreferenceStore::Value> PreferenceStore::get(std::string_view prefix, std::string_view key) const {
    auto keys = values_.find(prefix);
    if (keys == values_.end()) return std::nullopt;
    auto found = keys->second.find(key);
    if (found == keys->second.end()) return std::nullopt;
    return found->second;
}

void PreferenceStore::put(std::string prefix, std::string key, Value value) {
    if (const double* real = std::get_if<double>(&value); real && !std::isfinite(*real))
        throw std::invalid_argument("preference " + prefix + "/" + key + ": a real must be finite");
    // The file is JSON, which holds only UTF-8.
    if (!isValidUtf8(prefix) || !isValidUtf8(key))
        throw std::invalid_argument("preference prefix and key must be UTF-8");
    values_[std::move(prefix)].insert_or_assign(std::move(key), value);
}

bool PreferenceStore::remove(std::string_view prefix, std::string_view key) {
    auto keys = values_.find(prefix);
    if (keys == values_.end()) return false;
    auto found = keys->second.find(key);
    if (found == keys->second.end()) return false;
    keys->second.erase(found);
    if (keys->second.empty()) values_.erase(keys);
    return true;
}

template <class Json>
Json PreferenceStore::entries() const {
    Json list = Json::array();
    for (const auto& [prefix, keys] : values_) {
        for (const auto& [key, value] : keys) {
            Json entry = Json::object();
            entry["prefix"] = prefix;
            entry["key"] = key;
            entry["kind"] = kindName(value);
            std::visit([&](auto stored) { entry["value"] = stored; }, value);
            list.push_back(std::move(entry));
        }
    }
    return list;
}

nlohmann::json PreferenceStore::dump() const {
    return entries<nlohmann::json>();
}

void PreferenceStore::registerSuites(SuiteRegistry& registry) {
    registry.add(kAIPreferenceSuite, kAIPreferenceSuiteVersion, &kSuite);
    ActivePiece<PreferenceStore>::set(this);
}

}  // namespace host
