#include "FuzzFolder.h"

#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace fuzz {

namespace fs = std::filesystem;

namespace {

fs::path makeFolder() {
    // RAM-backed when the system has such a folder: the host syncs every file it saves, and on a disk that
    // would cost milliseconds an input.
    std::error_code error;
    fs::path parent = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path(error);
    std::string pattern = (parent / "orvane-fuzz-XXXXXX").string();
    if (error || !mkdtemp(pattern.data())) {
        std::perror("cannot make the fuzzer's private folder");
        std::abort();
    }
    return pattern;
}

void removeFolder() {
    std::error_code error;
    fs::remove_all(privateFolder(), error);
}

}  // namespace

const fs::path& privateFolder() {
    static const fs::path folder = makeFolder();
    // Registered once the folder's name exists, so that it runs before that name is destroyed.
    static const bool removedAtExit = std::atexit(removeFolder) == 0;
    (void)removedAtExit;
    return folder;
}

void emptyPrivateFolder() {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(privateFolder(), error)) {
        fs::remove_all(entry.path(), error);
        if (error) break;
    }
    if (error) {
        std::fprintf(stderr, "cannot empty %s: %s\n", privateFolder().c_str(), error.message().c_str());
        std::abort();
    }
}

}  // namespace fuzz
