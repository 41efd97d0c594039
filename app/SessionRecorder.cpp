#include "SessionRecorder.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>

namespace workbench {

SessionRecorder::~SessionRecorder() {
    close(recording_);
    close(journal_);
}

SessionRecorder::SessionRecorder() {
    add("# Recorded by orvane-workbench; play it with orvane-replay.");
}

void SessionRecorder::begin(host::Host& host, int screenWidth, int screenHeight) {
    add("screen " + std::to_string(screenWidth) + " " + std::to_string(screenHeight));
    // The store as the plug-in will read it at its start.
    for (const nlohmann::json& entry : host.preferences().dump()) {
        const std::string kind = entry.at("kind").get<std::string>();
        std::string value;
        if (kind == "bool")
            value = entry.at("value").get<bool>() ? "true" : "false";
        else if (kind == "int")
            value = std::to_string(entry.at("value").get<std::int64_t>());
        else
            value = number(entry.at("value").get<double>());
        add("pref " + quoted(entry.at("prefix").get<std::string>()) + " " + quoted(entry.at("key").get<std::string>()) +
            " " + kind + " " + value);
    }
}

void SessionRecorder::add(const std::string& line) {
    lines_.push_back({line, {}});
    write(recording_, lines_.back());
    write(journal_, lines_.back());
}

void SessionRecorder::addFile(const std::string& command, const std::filesystem::path& file) {
    lines_.push_back({command, std::filesystem::absolute(file).lexically_normal()});
    write(recording_, lines_.back());
    write(journal_, lines_.back());
}

std::vector<std::string> SessionRecorder::written(const Line& line, const std::filesystem::path& folder) {
    if (line.file.empty()) return {line.text};
    if (folder.empty()) return {line.text + " " + quoted(line.file.string())};
    std::filesystem::path inside = line.file.lexically_relative(folder);
    if (!inside.empty() && *inside.begin() != "..") return {line.text + " " + quoted(inside.string())};
    return {
        "# The file lay outside the recording's folder: named by its name alone, it is found beside the "
        "session.",
        line.text + " " + quoted(line.file.filename().string())};
}

std::vector<std::string> SessionRecorder::lines() const {
    std::vector<std::string> all;
    for (const Line& line : lines_)
        for (std::string& text : written(line, recording_.folder)) all.push_back(std::move(text));
    return all;
}

void SessionRecorder::write(Output& output, const Line& line) {
    if (!output.out) return;
    // Each line reaches the file at once: a recording made to report a fault, and the crash journal,
    // survive the program's end.
    for (const std::string& text : written(line, output.folder)) {
        std::fputs(text.c_str(), output.out);
        std::fputc('\n', output.out);
    }
    std::fflush(output.out);
    // Survives a power cut too; the many moves between two clicks are not worth a wait for the disk each.
    if (output.durable && !line.text.starts_with("move ")) ::fdatasync(::fileno(output.out));
}

void SessionRecorder::open(Output& output, const std::filesystem::path& file, bool namesWhole) {
    close(output);
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (!out) throw std::runtime_error("can't write " + file.string() + ": " + std::strerror(errno));
    std::filesystem::path whole = std::filesystem::absolute(file).lexically_normal();
    output = {out, whole, namesWhole ? std::filesystem::path() : whole.parent_path()};
    for (const Line& line : lines_)
        for (const std::string& text : written(line, output.folder)) {
            std::fputs(text.c_str(), out);
            std::fputc('\n', out);
        }
    if (std::fflush(out) != 0) {
        int error = errno;
        close(output);
        throw std::runtime_error("can't write " + file.string() + ": " + std::strerror(error));
    }
}

void SessionRecorder::close(Output& output) {
    if (output.out) std::fclose(output.out);
    output = {};
}

void SessionRecorder::record(const std::filesystem::path& file) {
    open(recording_, file, false);
}

void SessionRecorder::stop() {
    close(recording_);
}

void SessionRecorder::keepJournal(const std::filesystem::path& file) {
    open(journal_, file, true);
    journal_.durable = true;
    // Held while this program keeps it: another one starting sees the journal is not left over.
    ::flock(::fileno(journal_.out), LOCK_EX | LOCK_NB);
}

void SessionRecorder::dropJournal() {
    std::filesystem::path file = journal_.file;
    close(journal_);
    std::error_code ignored;
    if (!file.empty()) std::filesystem::remove(file, ignored);
}

std::string SessionRecorder::number(double value) {
    // A float widened to double is written exactly: the replay reads a double and narrows it back.
    char buffer[64];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    return std::string(buffer, end);
}

std::string SessionRecorder::quoted(const std::string& text) {
    std::string result = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') result += '\\';
        result += c;
    }
    return result + "\"";
}

std::string SessionRecorder::cursor(AIRealPoint point, ASUInt16 modifiers) {
    return number(point.h) + " " + number(point.v) + modifierNames(modifiers);
}

std::string SessionRecorder::modifierNames(ASUInt16 modifiers) {
    std::string text;
    if (modifiers & shiftKey) text += " shift";
    if (modifiers & optionKey) text += " alt";
    if (modifiers & controlKey) text += " ctrl";
    return text;
}

}  // namespace workbench
