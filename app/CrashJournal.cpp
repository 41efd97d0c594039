#include "CrashJournal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>

#include <QTemporaryDir>

#include "Session.h"
#include "host/document/Svg.h"

namespace workbench {

namespace fs = std::filesystem;

fs::path journalFile() {
    const char* state = std::getenv("XDG_STATE_HOME");
    fs::path folder;
    if (state && *state)
        folder = state;
    else if (const char* home = std::getenv("HOME"); home && *home)
        folder = fs::path(home) / ".local" / "state";
    else
        folder = fs::temp_directory_path();
    return folder / "orvane" / "journal.session";
}

bool journalInUse(const fs::path& file) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

Recovered replayJournal(const fs::path& journal, const fs::path& plugins, const fs::path& drawing) {
    std::ifstream in(journal);
    if (!in) throw std::runtime_error("can't read the journal " + journal.string());
    QTemporaryDir scratch;
    if (!scratch.isValid()) throw std::runtime_error("can't make a folder to replay the journal in");
    const fs::path folder = scratch.path().toStdString();

    Recovered recovered;
    replay::Options options;
    options.pluginsDir = plugins;
    options.writableFolders = {folder};
    // Each file the journal names stands for a copy of its own, taken when first named: a save writes the
    // copy, never the file, and an opening after it reads what the session saved.
    options.resolveFile = [&](const std::string& name) {
        fs::path copy = folder / std::to_string(std::hash<std::string>{}(name));
        std::error_code ignored;
        if (!fs::exists(copy)) fs::copy_file(name, copy, ignored);
        recovered.file = name;
        return copy;
    };
    std::ostringstream discarded;
    replay::Session session(options, discarded);
    try {
        session.play(in, journal.string());
    } catch (const replay::SessionError&) {
        // The program ended in the middle of an action (inside a dialog, say): the drawing is as it was.
        recovered.whole = false;
    }
    host::saveSvg(session.document(), drawing);
    return recovered;
}

}  // namespace workbench
