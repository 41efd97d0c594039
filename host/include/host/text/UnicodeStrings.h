// The host's Unicode strings: made by the plug-in (or by other host pieces), read
// back as UTF-16, disposed by their owner.
//
// Handles carry an id, never an address: a handle this piece did not give out, or
// one already disposed, is found out and answered with kBadHandleErr.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "AIUnicodeString.h"

namespace host {

class SuiteRegistry;

class UnicodeStrings {
public:
    UnicodeStrings() = default;
    UnicodeStrings(const UnicodeStrings&) = delete;
    UnicodeStrings& operator=(const UnicodeStrings&) = delete;
    ~UnicodeStrings();

    /// Registers "AI Unicode String Suite" 1006 and makes this the instance its functions reach.
    void registerSuites(SuiteRegistry& registry);

    /// A new string owned by whoever receives the handle.
    AIUnicodeStringHandle create(std::u16string text);
    /// False (and nothing changes) for a handle that is not live here.
    bool dispose(AIUnicodeStringHandle string);

    /// nullopt for a handle that is not live here.
    std::optional<std::u16string> text(AIUnicodeStringHandle string) const;
    /// Throws std::invalid_argument for a string made by create() with an unpaired surrogate.
    std::optional<std::string> utf8(AIUnicodeStringHandle string) const;

    /// Strings not yet disposed.
    std::size_t liveCount() const { return strings_.size(); }

private:
    friend struct UnicodeStringSuiteFunctions;

    /// The string's UTF-16 units followed by a zero; null when the handle is not live here.
    const std::vector<ASUnicode>* find(AIUnicodeStringHandle string) const;

    std::unordered_map<std::uint64_t, std::vector<ASUnicode>> strings_;
};

}  // namespace host
