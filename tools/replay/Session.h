// Plays session files: each line a person's action at the host, or a dump of
// what the host and the plug-in now hold, or a check of it.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/Host.h"

namespace replay {

/// What is wrong with one line; the session stops there.
struct SessionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// A SessionError whose text already says where: "FILE:LINE: what is wrong".
struct LocatedError : SessionError {
    using SessionError::SessionError;
};

struct Options {
    std::filesystem::path pluginsDir;
    std::optional<std::filesystem::path> prefsFile;
    /// Where a file the session names (dump, frame, open, save) is read or written: the name itself
    /// when empty. A dump to "-" goes to the session's output and is not mapped.
    std::function<std::filesystem::path(const std::string&)> resolveFile;
    /// The folders a session may write in besides the working folder: a session received from someone
    /// else must not replace files elsewhere unless the person playing it says so.
    std::vector<std::filesystem::path> writableFolders;
};

class Session {
public:
    Session(const Options& options, std::ostream& out);
    ~Session();

    /// Plays every line; throws SessionError ("FILE:LINE: what is wrong"). A command that opens a modal
    /// dialog plays the lines that follow inside it, until it closes.
    void play(std::istream& in, const std::string& name);
    /// The document as the lines played so far left it.
    const host::Document& document() const { return host_->document(); }

private:
    using Args = std::vector<std::string>;
    using Handler = std::function<void(const Args&)>;

    void run(const Args& tokens);
    /// Plays one line; false when it holds no command. Inside a modal run only the commands that act
    /// there are allowed.
    bool playLine(const std::string& line, bool insideModal);
    /// The modal runs' event source: plays the next command of the session.
    bool playInsideModal();
    LocatedError located(const std::string& what) const;
    void add(const std::string& name, std::size_t minArgs, std::size_t maxArgs, Handler handler);
    void addCommands();

    nlohmann::json dump(const std::string& what) const;
    void write(const nlohmann::json& value, const std::string& file) const;
    /// The file a session's name stands for (Options::resolveFile).
    std::filesystem::path resolve(const std::string& name) const;
    /// The same for a file the session writes; SessionError when it lies outside the writable folders.
    std::filesystem::path resolveWritable(const std::string& name) const;
    void expect(const Args& args);
    host::Host& host() { return *host_; }

    struct Command {
        std::size_t minArgs;
        std::size_t maxArgs;
        Handler handler;
    };
    std::map<std::string, Command> commands_;
    std::function<std::filesystem::path(const std::string&)> resolveFile_;
    std::vector<std::filesystem::path> writableFolders_;
    std::unique_ptr<host::Host> host_;
    /// What the last open repaired or passed over.
    std::vector<host::SvgWarning> warnings_;
    std::ostream& out_;
    // The session being played, kept here so that a modal run reads on from where its command was.
    std::istream* in_ = nullptr;
    std::string name_;
    int line_ = 0;
};

/// Parses a number of a session line; throws SessionError naming what it is for.
double number(const std::string& token, const char* what);
long integer(const std::string& token, const char* what);

}  // namespace replay
