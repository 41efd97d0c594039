// Saves of the preference store interrupted at every step: by an error, by a full disk part-way
// through the write, and by the process dying (a forked child that ends with _exit where the hooks
// say, so that no destructor runs and the disk is left as a crash leaves it).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/settings/PreferenceStore.h"

namespace {

namespace fs = std::filesystem;
using host::PreferenceStore;
using host::detail::WriteStep;

constexpr WriteStep kSteps[] = {WriteStep::OpenTemp, WriteStep::Write, WriteStep::SyncFile, WriteStep::Rename,
                                WriteStep::SyncFolder};
constexpr const char* kStepNames[] = {"OpenTemp", "Write", "SyncFile", "Rename", "SyncFolder"};
constexpr int kDied = 77;  // the exit status of a child that "crashed" where it was told to
const std::string kTempPrefix = ".prefs.json.tmp-";

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SaveFaults : public testing::Test {
protected:
    void SetUp() override {
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        dir = fs::temp_directory_path() / ("orvane-prefs-faults-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir / "prefs.json";
    }
    void TearDown() override {
        host::detail::setWriteFault({});
        host::detail::setWriteCall({});
        fs::remove_all(dir);
    }

    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir)) found.insert(entry.path().filename().string());
        return found;
    }

    std::vector<fs::path> temps() const {
        std::vector<fs::path> found;
        for (const auto& name : names())
            if (name.starts_with(kTempPrefix)) found.push_back(dir / name);
        return found;
    }

    /// What a fresh store reads from the file; a warning fails the test.
    nlohmann::json reread() const {
        PreferenceStore fresh(file);
        EXPECT_EQ(fresh.load(), std::nullopt);
        return fresh.dump();
    }

    /// Saves store in a child process whose hooks (set by `arm`) end it with _exit(kDied). True
    /// when it died there, false when the save ran to its end.
    static bool saveAndDie(const PreferenceStore& store, const std::function<void()>& arm) {
        pid_t child = ::fork();
        if (child < 0) {
            ADD_FAILURE() << "fork: " << std::strerror(errno);
            return false;
        }
        if (child == 0) {
            arm();
            try {
                store.save();
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child) return false;
        return WIFEXITED(status) && WEXITSTATUS(status) == kDied;
    }

    fs::path dir;
    fs::path file;
};

// ---- writes that the system cuts short -------------------------------------------------------

TEST_F(SaveFaults, ShortAndInterruptedWritesStillWriteEverything) {
    PreferenceStore store(file);
    for (int i = 0; i < 2000; ++i) store.put("Bulk", "key" + std::to_string(i), i * 0.37);  // about 120 KB
    std::size_t calls = 0;
    host::detail::setWriteCall([&](int fd, const void* data, std::size_t size) -> ssize_t {
        if (++calls % 3 == 0) {
            errno = EINTR;
            return -1;
        }
        return ::write(fd, data, std::min(size, calls % 1021 + 1));
    });
    store.save();
    EXPECT_GT(calls, 300u);
    EXPECT_EQ(reread(), store.dump());
    EXPECT_EQ(names(), std::set<std::string>{"prefs.json"});
}

TEST_F(SaveFaults, WriteThatWritesNothingFailsInsteadOfRetryingForever) {
    PreferenceStore store(file);
    store.put("p", "old", true);
    store.save();
    const std::string old = slurp(file);

    store.put("p", "new", std::int32_t{2});
    int calls = 0;
    host::detail::setWriteCall([&](int, const void*, std::size_t) -> ssize_t {
        // Bounded, so that a loop retrying forever fails the test instead of hanging it.
        if (++calls > 1000) {
            errno = EIO;
            return -1;
        }
        return 0;
    });
    try {
        store.save();
        FAIL() << "save should throw";
    } catch (const host::StoreError& error) {
        EXPECT_NE(std::string(error.what()).find(file.string() + ": writing: "), std::string::npos) << error.what();
    }
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(slurp(file), old);
    EXPECT_EQ(names(), std::set<std::string>{"prefs.json"});
}

// ---- what crashed saves leave behind ---------------------------------------------------------

TEST_F(SaveFaults, RemovesOnlyItsOwnLeftoverTemporaryFiles) {
    const std::set<std::string> leftovers = {".prefs.json.tmp-1-0", ".prefs.json.tmp-4194304-17",
                                             ".prefs.json.tmp-0-0"};
    // Names close to those of the store's temporary files; the last is the temporary file of
    // "prefs.json.tmp-1-2".
    const std::set<std::string> others = {
        ".prefs.json.tmp-1",   ".prefs.json.tmp-1-",      ".prefs.json.tmp--1",         ".prefs.json.tmp-1-2x",
        ".prefs.json.tmp-a-1", ".prefs.json.tmp-1-2.bak", "prefs.json.tmp-1-2",         ".prefs.jsontmp-1-2",
        ".other.json.tmp-1-2", "prefs.json.corrupt",      ".prefs.json.tmp-1-2.tmp-3-4"};
    for (const auto& name : leftovers) std::ofstream(dir / name) << "[{\"prefix\": ";
    for (const auto& name : others) std::ofstream(dir / name) << "keep";
    // Things of the right name that are no plain file.
    fs::create_directory(dir / ".prefs.json.tmp-5-5");
    std::ofstream(dir / "target") << "keep";
    fs::create_symlink("target", dir / ".prefs.json.tmp-6-6");
    ASSERT_EQ(::mkfifo((dir / ".prefs.json.tmp-7-7").c_str(), 0600), 0);

    PreferenceStore store(file);
    EXPECT_EQ(store.load(), std::nullopt);  // leftovers do not disturb reading
    store.put("p", "k", 0.5);
    store.save();

    std::set<std::string> expected = others;
    expected.insert({"prefs.json", ".prefs.json.tmp-5-5", "target", ".prefs.json.tmp-6-6", ".prefs.json.tmp-7-7"});
    EXPECT_EQ(names(), expected);
    for (const auto& name : others) EXPECT_EQ(slurp(dir / name), "keep") << name;
    EXPECT_EQ(slurp(dir / "target"), "keep");
    EXPECT_EQ(reread(), store.dump());
}

TEST_F(SaveFaults, LeavesATemporaryFileInUseAlone) {
    // Another host's save under way holds a lock on its temporary file.
    const fs::path busy = dir / ".prefs.json.tmp-99999-3";
    int fd = ::open(busy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);

    PreferenceStore store(file);
    store.put("p", "k", true);
    store.save();
    EXPECT_TRUE(fs::exists(busy));

    ::close(fd);  // that host died
    store.save();
    EXPECT_EQ(names(), std::set<std::string>{"prefs.json"});
}

class SaveDuringSave : public SaveFaults, public testing::WithParamInterface<WriteStep> {};

// Two hosts saving the same file at once: the second's clean-up must not take the first's
// temporary file from under it, at any step before its rename.
TEST_P(SaveDuringSave, BothSucceedAndTheLaterRenameWins) {
    PreferenceStore first(file);
    PreferenceStore second(file);
    first.put("who", "first", true);
    second.put("who", "second", true);
    bool interleaved = false;
    host::detail::setWriteFault([&](WriteStep step) {
        if (step == GetParam() && !interleaved) {
            interleaved = true;
            second.save();
        }
        return 0;
    });
    EXPECT_NO_THROW(first.save());
    EXPECT_TRUE(interleaved);
    EXPECT_EQ(reread(), first.dump());
    EXPECT_EQ(names(), std::set<std::string>{"prefs.json"});
}

INSTANTIATE_TEST_SUITE_P(PreferenceStore, SaveDuringSave,
                         testing::Values(WriteStep::Write, WriteStep::SyncFile, WriteStep::Rename),
                         [](const testing::TestParamInfo<WriteStep>& step) {
                             return std::string(kStepNames[static_cast<int>(step.param)]);
                         });

// ---- every kind of interruption, in a long run of saves --------------------------------------

enum class Fault { None, ChoppyWrites, Error, DiskFull, Crash, CrashMidWrite, Count };
constexpr const char* kFaultNames[] = {"none", "choppy writes", "error", "disk full", "crash", "crash mid-write"};

// After each save, whatever became of it, a fresh store reads exactly the values of the last
// save that got as far as its rename, without a warning; at most the temporary file of a save
// that just died is left beside it, and the next save removes it.
TEST_F(SaveFaults, InterruptedSavesAlwaysLeaveTheLastGoodFile) {
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    constexpr int kErrors[] = {ENOSPC, EIO, EDQUOT, EROFS, EACCES};

    PreferenceStore store(file);
    nlohmann::json saved = nlohmann::json::array();
    std::set<std::pair<Fault, int>> seen;

    for (int round = 0; round < 200; ++round) {
        for (int changes = 1 + pick(3); changes > 0; --changes) {
            std::string prefix = "P" + std::to_string(pick(3));
            std::string key = "k" + std::to_string(pick(8));
            switch (pick(4)) {
                case 0:
                    store.put(prefix, key, pick(2) == 1);
                    break;
                case 1:
                    store.put(prefix, key, static_cast<std::int32_t>(random()));
                    break;
                case 2:
                    store.put(prefix, key, std::uniform_real_distribution<double>(-1e6, 1e6)(random));
                    break;
                default:
                    store.remove(prefix, key);
                    break;
            }
        }
        const nlohmann::json values = store.dump();
        const auto fault = static_cast<Fault>(pick(static_cast<int>(Fault::Count)));
        const WriteStep step = kSteps[pick(5)];
        const int error = kErrors[pick(5)];
        // Where a short write stops: at least one byte, and always before the closing "]\n".
        const double cut = std::uniform_real_distribution<double>(0, 1)(random);
        auto partOf = [cut](std::size_t size) { return 1 + static_cast<std::size_t>(cut * (size - 3)); };

        bool renamed = false;   // the save got as far as its rename
        bool leftTemp = false;  // the save died with its temporary file on disk
        std::string trace = "round " + std::to_string(round) + ": " + kFaultNames[static_cast<int>(fault)];
        switch (fault) {
            case Fault::None:
                EXPECT_NO_THROW(store.save());
                renamed = true;
                break;
            case Fault::ChoppyWrites:
                host::detail::setWriteCall([calls = 0](int fd, const void* data, std::size_t size) mutable -> ssize_t {
                    if (++calls % 3 == 0) {
                        errno = EINTR;
                        return -1;
                    }
                    return ::write(fd, data, std::min<std::size_t>(size, calls % 7 + 1));
                });
                EXPECT_NO_THROW(store.save());
                renamed = true;
                break;
            case Fault::Error:
                trace += std::string(" at ") + kStepNames[static_cast<int>(step)] + ", " + std::strerror(error);
                host::detail::setWriteFault([&](WriteStep now) { return now == step ? error : 0; });
                try {
                    store.save();
                    ADD_FAILURE() << trace << ": save should throw";
                } catch (const host::StoreError& thrown) {
                    EXPECT_NE(std::string(thrown.what()).find(std::strerror(error)), std::string::npos)
                        << thrown.what();
                }
                renamed = step == WriteStep::SyncFolder;
                break;
            case Fault::DiskFull: {
                // A short write, then no space: the temporary file is partly written when the save fails.
                std::size_t calls = 0, onDisk = 0, part = 0;
                host::detail::setWriteCall([&](int fd, const void* data, std::size_t size) -> ssize_t {
                    if (++calls == 1) return ::write(fd, data, part = partOf(size));
                    struct stat written {};
                    if (::fstat(fd, &written) == 0) onDisk = static_cast<std::size_t>(written.st_size);
                    errno = ENOSPC;
                    return -1;
                });
                EXPECT_THROW(store.save(), host::StoreError) << trace;
                EXPECT_EQ(calls, 2u) << trace;
                EXPECT_EQ(onDisk, part) << trace;
                break;
            }
            case Fault::Crash:
                trace += std::string(" at ") + kStepNames[static_cast<int>(step)];
                EXPECT_TRUE(saveAndDie(store, [step] {
                    host::detail::setWriteFault([step](WriteStep now) {
                        if (now == step) ::_exit(kDied);
                        return 0;
                    });
                })) << trace;
                renamed = step == WriteStep::SyncFolder;
                leftTemp = step != WriteStep::OpenTemp && step != WriteStep::SyncFolder;
                break;
            case Fault::CrashMidWrite:
                EXPECT_TRUE(saveAndDie(store, [&partOf] {
                    host::detail::setWriteCall([partOf](int fd, const void* data, std::size_t size) -> ssize_t {
                        ssize_t n = ::write(fd, data, partOf(size));
                        if (n > 0) ::_exit(kDied);
                        return n;
                    });
                })) << trace;
                leftTemp = true;
                break;
            case Fault::Count:
                break;
        }
        host::detail::setWriteFault({});
        host::detail::setWriteCall({});
        seen.emplace(fault, fault == Fault::Error || fault == Fault::Crash ? static_cast<int>(step) : -1);
        if (renamed) saved = values;

        EXPECT_EQ(reread(), saved) << trace;
        const auto left = temps();
        ASSERT_EQ(left.size(), leftTemp ? 1u : 0u) << trace;
        for (const auto& name : names())
            EXPECT_TRUE(name == "prefs.json" || name.starts_with(kTempPrefix)) << trace << ": " << name;
        if (leftTemp) {
            // The crash left what it was told to: nothing yet, all of it, or a part.
            const std::string text = slurp(left.front());
            if (fault == Fault::CrashMidWrite)
                EXPECT_TRUE(!text.empty() && !nlohmann::json::accept(text)) << trace << ": " << text;
            else if (step == WriteStep::Write)
                EXPECT_EQ(text, "") << trace;
            else
                EXPECT_EQ(nlohmann::json::parse(text), values) << trace;
        }
    }
    // Every kind of fault, and every step for those that have one, came up.
    EXPECT_EQ(seen.size(), 4u + 2 * std::size(kSteps));

    store.save();
    EXPECT_EQ(names(), std::set<std::string>{"prefs.json"});
    EXPECT_EQ(reread(), store.dump());
}

}  // namespace
