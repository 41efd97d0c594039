// What a person does at the workbench, written as the lines of a session file
// that orvane-replay plays back. The journal is kept from the host's start, so
// that a recording begun at any moment replays from the same state: the
// preference store as read, the screen, the view's size, then every action.
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
    /// Writes the journal so far to file, replacing it, then every line that follows; throws
    /// std::runtime_error when the file can't be written.
    void record(const std::filesystem::path& file);
    /// Closes the file; the journal goes on.
    void stop();
    bool recording() const { return out_ != nullptr; }
    const std::filesystem::path& file() const { return file_; }
    const std::vector<std::string>& lines() const { return lines_; }

    /// A number as the shortest text that reads back to the same value: the host's floats exactly.
    static std::string number(double value);
    /// A token as the session's lexer reads it back: quoted, with \" and \\ escaped.
    static std::string quoted(const std::string& text);
    /// "H V" and the modifier names of a cursor event.
    static std::string cursor(AIRealPoint point, ASUInt16 modifiers);
    /// The modifier names of an event, each after a blank.
    static std::string modifierNames(ASUInt16 modifiers);

private:
    std::vector<std::string> lines_;
    std::FILE* out_ = nullptr;
    std::filesystem::path file_;
};

}  // namespace workbench
