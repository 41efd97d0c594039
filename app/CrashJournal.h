// The crash journal: the session under way, kept on disk line by line, so that a
// drawing survives a crash or a killed program. A clean quit removes it; one
// found at the next start tells of an unclean end and can be played back.
#pragma once

#include <filesystem>

namespace workbench {

/// Where the journal of the session under way is kept: orvane/journal.session under $XDG_STATE_HOME
/// (~/.local/state when unset).
std::filesystem::path journalFile();

/// Whether a running workbench keeps the journal in file (it holds the file's lock): then it is no crash's.
bool journalInUse(const std::filesystem::path& file);

/// What playing a journal gave back.
struct Recovered {
    /// The file the drawing was last opened from or saved to; empty for a drawing never saved.
    std::filesystem::path file;
    /// Whether the journal played to its end; when not, the drawing is as it was where it stopped.
    bool whole = true;
};

/// Plays the journal headless with the plug-ins of the folder and saves the drawing it gives as an SVG file.
/// The files the session opened are read as they were then: a file it saved is read back from the copy the
/// replay saved in a private folder, and nothing outside that folder is written. Throws std::runtime_error
/// when the journal can't be read or the drawing saved.
Recovered replayJournal(const std::filesystem::path& journal, const std::filesystem::path& plugins,
                        const std::filesystem::path& drawing);

}  // namespace workbench
