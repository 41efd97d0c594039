#include "host/platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace host {

namespace detail {
namespace {
std::function<int(WriteStep)>& writeFault() {
    static std::function<int(WriteStep)> fault;
    return fault;
}

std::function<ssize_t(int, const void*, std::size_t)>& writeCall() {
    static std::function<ssize_t(int, const void*, std::size_t)> call;
    return call;
}
}  // namespace

void setWriteFault(std::function<int(WriteStep)> fault) {
    writeFault() = std::move(fault);
}

void setWriteCall(std::function<ssize_t(int, const void*, std::size_t)> call) {
    writeCall() = std::move(call);
}
}  // namespace detail

namespace {

using detail::WriteStep;

std::string errnoText(int error) {
    return std::system_category().message(error);
}

/// A temporary file beside the target, removed unless it was renamed into place. Removed before
/// it is closed, so that its lock covers it to the end.
class TempFile {
public:
    ~TempFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
        if (fd_ >= 0) ::close(fd_);
    }
    int fd_ = -1;
    std::string path_;
};

/// The temporary files of file are named PREFIX + PID "-" SERIAL.
std::string tempPrefix(const fs::path& file) {
    return "." + file.filename().string() + ".tmp-";
}

bool isTempName(std::string_view name, std::string_view prefix) {
    if (!name.starts_with(prefix)) return false;
    name.remove_prefix(prefix.size());
    auto digits = [&name] {
        std::size_t n = 0;
        while (n < name.size() && name[n] >= '0' && name[n] <= '9') ++n;
        name.remove_prefix(n);
        return n > 0;
    };
    if (!digits() || !name.starts_with('-')) return false;
    name.remove_prefix(1);
    return digits() && name.empty();
}

/// Whether path still names the file open as fd.
bool namesOpenFile(const std::string& path, int fd) {
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

/// Locks a temporary file just created as fd, from now until its rename. False when a clean-up
/// took it first (the lock is taken, or the name is gone): the caller tries another name.
bool lockNewTemp(int fd, const std::string& path) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // A file system without locks: no clean-up can lock it either, so none removes it.
        return errno != EWOULDBLOCK;
    }
    return namesOpenFile(path, fd);
}

/// Removes the temporary files of file that saves left when their process died. A save under way
/// holds the lock on its temporary file until the rename, so one whose lock can be taken has no
/// writer left. Only plain files whose whole name has the temporary files' shape are touched, and
/// the lock is held while removing, so a writer that raced for the file sees it gone. Best effort:
/// what cannot be checked or removed stays.
void removeLeftTemps(const fs::path& folder, const fs::path& file) {
    const std::string prefix = tempPrefix(file);
    std::vector<fs::path> candidates;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        if (isTempName(entry->path().filename().string(), prefix)) candidates.push_back(entry->path());
    }
    for (const fs::path& candidate : candidates) {
        // O_NONBLOCK: a FIFO of that name must not stall the save.
        int fd = ::open(candidate.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            namesOpenFile(candidate.string(), fd))
            ::unlink(candidate.c_str());
        ::close(fd);
    }
}

}  // namespace

// Each step first asks the test hook whether it should fail.
void detail::writeAtomically(const fs::path& file, std::string_view contents, const std::string& what) {
    auto failWith = [&](const char* step, const std::string& cause) {
        throw StoreError("cannot save " + what + " to " + file.string() + ": " + step + ": " + cause);
    };
    auto fail = [&](const char* step, int error) { failWith(step, errnoText(error)); };
    auto injected = [](WriteStep step) {
        const auto& fault = detail::writeFault();
        return fault ? fault(step) : 0;
    };
    fs::path folder = file.parent_path();
    if (folder.empty()) folder = ".";

    removeLeftTemps(folder, file);

    TempFile temp;
    if (int error = injected(WriteStep::OpenTemp)) fail("creating a temporary file", error);
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; temp.fd_ < 0; ++attempt) {
        if (attempt == 100) fail("creating a temporary file", EEXIST);
        std::string path =
            (folder / (tempPrefix(file) + std::to_string(::getpid()) + "-" + std::to_string(serial.fetch_add(1))))
                .string();
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno != EEXIST) fail("creating a temporary file", errno);
        } else if (lockNewTemp(fd, path)) {
            temp.fd_ = fd;
            temp.path_ = path;
        } else {
            ::close(fd);  // the clean-up that took it removes it
        }
    }
    // Someone who made the file private expects it to stay private.
    struct stat old {};
    if (::stat(file.c_str(), &old) == 0) ::fchmod(temp.fd_, old.st_mode & 07777);

    if (int error = injected(WriteStep::Write)) fail("writing", error);
    const auto& call = detail::writeCall();
    for (std::size_t done = 0; done < contents.size();) {
        ssize_t n = call ? call(temp.fd_, contents.data() + done, contents.size() - done)
                         : ::write(temp.fd_, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("writing", errno);
        // Nothing written and no error: asking again would only spin.
        if (n == 0)
            failWith("writing", "the system wrote nothing (" + std::to_string(done) + " of " +
                                    std::to_string(contents.size()) + " bytes written)");
        done += static_cast<std::size_t>(n);
    }

    if (int error = injected(WriteStep::SyncFile)) fail("flushing to disk", error);
    if (::fsync(temp.fd_) != 0) fail("flushing to disk", errno);

    // Still open, so still locked: a clean-up never takes a finished temporary file before its rename.
    if (int error = injected(WriteStep::Rename)) fail("renaming the temporary file", error);
    if (::rename(temp.path_.c_str(), file.c_str()) != 0) fail("renaming the temporary file", errno);
    temp.path_.clear();
    int fd = temp.fd_;
    temp.fd_ = -1;
    if (::close(fd) != 0) fail("closing the new file", errno);

    // The new file is in place; without this the rename itself may not survive a crash.
    if (int error = injected(WriteStep::SyncFolder)) fail("flushing the folder to disk", error);
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) fail("opening the folder", errno);
    int synced = ::fsync(dir);
    int error = errno;
    ::close(dir);
    if (synced != 0) fail("flushing the folder to disk", error);
}

}  // namespace host
