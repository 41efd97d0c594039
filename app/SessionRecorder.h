// What a person does at the workbench, written as the lines of a session file
// that orvane-replay plays back. The journal is kept from the host's start, so
// that a recording begun at any moment replays from the same state: the
// preference store as read, the screen, the view's size, then every action.
// Besides a recording the person asked for, the journal can go to a crash
// journal on disk, which names files whole: it is replayed on this machine.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host/Host.h"

namespace workbench {

class SessionRecorder {
public:
    SessionRecorder();
    SessionRecorder(const SessionRecorder&) = delete;
    SessionRecorder& operator=(const SessionRecorder&) = delete;
    ~SessionRecorder();

    /// The lines that put a fresh host where this one is before its start: its screen and its store.
    void begin(host::Host& host, int screenWidth, int screenHeight);
    /// Adds one line to the journal, and to the file while recording.
    void add(const std::string& line);
    /// Adds "COMMAND NAME" for a file the person opened or saved. A recording names it relative to its own
    /// folder when it lies there, else by its bare name after a comment: a recording is shared, and must
    /// not name, nor have the replay write over, files of the person who plays it.
    void addFile(const std::string& command, const std::filesystem::path& file);
    /// Writes the journal so far to file, replacing it, then every line that follows; throws
    /// std::runtime_error when the file can't be written.
    void record(const std::filesystem::path& file);
    /// Closes the file; the journal goes on.
    void stop();
    bool recording() const { return recording_.out != nullptr; }
    const std::filesystem::path& file() const { return recording_.file; }
    /// Writes the journal so far to file, replacing it, then every line that follows, with file names whole,
    /// each on the disk before the next (the moves of the cursor only handed to the system); the file stays
    /// locked (flock) while kept. Throws std::runtime_error when the file can't be written.
    void keepJournal(const std::filesystem::path& file);
    /// Closes the crash journal and removes its file: the session ended cleanly.
    void dropJournal();
    /// The journal as the recording writes it (files named from its folder), or with whole file names when
    /// nothing is being recorded.
    std::vector<std::string> lines() const;

    /// A number as the shortest text that reads back to the same value: the host's floats exactly.
    static std::string number(double value);
    /// A token as the session's lexer reads it back: quoted, with \" and \\ escaped.
    static std::string quoted(const std::string& text);
    /// "H V" and the modifier names of a cursor event.
    static std::string cursor(AIRealPoint point, ASUInt16 modifiers);
    /// The modifier names of an event, each after a blank.
    static std::string modifierNames(ASUInt16 modifiers);

private:
    struct Line {
        std::string text;            ///< the whole line, or the command of a file line
        std::filesystem::path file;  ///< absolute; empty for a line naming no file
    };
    /// A file the journal goes to as it grows.
    struct Output {
        std::FILE* out = nullptr;
        std::filesystem::path file;    ///< absolute
        std::filesystem::path folder;  ///< files are named from it; empty: whole
        bool durable = false;          ///< each line but a cursor's move is synced to the disk
    };
    /// The line as written for a recording in folder (empty: file names whole), a comment first if need be.
    static std::vector<std::string> written(const Line& line, const std::filesystem::path& folder);
    /// Opens file, replacing it, and writes the journal so far to it.
    void open(Output& output, const std::filesystem::path& file, bool namesWhole);
    static void close(Output& output);
    static void write(Output& output, const Line& line);

    std::vector<Line> lines_;
    Output recording_;
    Output journal_;
};

}  // namespace workbench
