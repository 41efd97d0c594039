// Files replaced whole, so that a crash leaves the old file or the new one, never half of
// either: the preference store and the SVG files both save this way.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace host {

/// The file could not be read, set aside or written; the message names the file and the cause.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace detail {

/// The steps of replacing a file, in order.
enum class WriteStep { OpenTemp, Write, SyncFile, Rename, SyncFolder };

/// For tests: called before each step of a save; a non-zero errno it answers makes
/// that step fail with it. An empty function removes the hook.
void setWriteFault(std::function<int(WriteStep)> fault);

/// For tests: stands in for write(2) on the temporary file, answering as it does (a count,
/// possibly short, or -1 with errno set), to make writes short, interrupted or failing part-way.
/// An empty function restores write(2).
void setWriteCall(std::function<ssize_t(int fd, const void* data, std::size_t size)> call);

/// Replaces file with contents so that a reader sees the old file or the new one, whole; throws
/// StoreError "cannot save WHAT to FILE: step: cause" when that fails, leaving the old file whole.
///
/// The temporary file is .NAME.tmp-PID-SERIAL beside the file, locked (flock) from its creation
/// until it is renamed into place. Files of that name whose lock can be taken were left by a save
/// whose process died; each call removes them first.
void writeAtomically(const std::filesystem::path& file, std::string_view contents, const std::string& what);

}  // namespace detail

}  // namespace host
