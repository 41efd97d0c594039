// A plug-in module loaded once for the fuzzer's whole life, put back before each
// input as it was right after loading, so that every input meets a module
// whose globals are fresh, as the replay program's sessions do.
//
// libFuzzer keeps reading a module's coverage counters after it was loaded:
// unloading and loading the module again for each input is not possible, so
// the module stays mapped and its writable data is restored instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzz {

class ModuleImage {
public:
    /// Loads the module (it is never unloaded) and keeps a copy of its writable data; aborts on failure.
    explicit ModuleImage(const std::filesystem::path& file);
    ModuleImage(const ModuleImage&) = delete;
    ModuleImage& operator=(const ModuleImage&) = delete;

    /// Puts the module's writable data back as it was after loading: call it while no plug-in code
    /// runs and the plug-in holds nothing (its host quit or was destroyed).
    void restore() const;

private:
    struct Range {
        std::byte* start;
        std::vector<std::byte> saved;
    };
    std::uintptr_t base_ = 0;
    std::vector<Range> ranges_;
};

}  // namespace fuzz
