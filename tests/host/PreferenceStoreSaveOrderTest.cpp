// The order in which a save touches the disk, observed at the system calls themselves: this
// program's own write, fsync and rename stand in front of the C library's while a save runs, and
// note what they were asked to do.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host/settings/PreferenceStore.h"

namespace {

namespace fs = std::filesystem;

/// The calls noted while a save runs; null otherwise.
std::vector<std::string>* gCalls = nullptr;

std::string pathOf(int fd) {
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
    return error ? "?" : path.string();
}

void note(const std::string& call) {
    if (!gCalls) return;
    // Consecutive writes to one file are one step.
    if (call.starts_with("write ") && !gCalls->empty() && gCalls->back() == call) return;
    gCalls->push_back(call);
}

template <class Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t write(int fd, const void* buffer, size_t size) {
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    note("write " + pathOf(fd));
    return real(fd, buffer, size);
}

extern "C" int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    note("fsync " + pathOf(fd));
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    note("rename " + std::string(from) + " " + std::string(to));
    return real(from, to);
}

namespace {

TEST(PreferenceStoreSave, WritesFlushesRenamesThenFlushesTheFolder) {
    const fs::path dir =
        fs::weakly_canonical(fs::temp_directory_path()) / ("orvane-prefs-order-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "prefs.json";
    host::PreferenceStore store(file);
    store.put("TeskOrvane", "Precision", 3);

    std::vector<std::string> calls;
    gCalls = &calls;
    store.save();
    gCalls = nullptr;

    // The one temporary file the save wrote to, beside the file.
    std::string temp;
    for (const std::string& call : calls)
        if (call.starts_with("write " + dir.string() + "/")) temp = call.substr(6);
    ASSERT_FALSE(temp.empty()) << testing::PrintToString(calls);
    EXPECT_NE(temp, file.string());
    const std::vector<std::string> expected = {"write " + temp, "fsync " + temp, "rename " + temp + " " + file.string(),
                                               "fsync " + dir.string()};
    EXPECT_EQ(calls, expected);

    host::PreferenceStore reread(file);
    EXPECT_EQ(reread.load(), std::nullopt);
    EXPECT_EQ(reread.dump(), store.dump());
    fs::remove_all(dir);
}

}  // namespace
