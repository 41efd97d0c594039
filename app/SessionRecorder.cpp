#include "SessionRecorder.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>

namespace workbench {

SessionRecorder::~SessionRecorder() {
    stop();
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
    lines_.push_back(line);
    if (!out_) return;
    // Each line reaches the file at once: a recording made to report a fault survives a crash.
    std::fputs(line.c_str(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

void SessionRecorder::record(const std::filesystem::path& file) {
    stop();
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (!out) throw std::runtime_error("can't write " + file.string() + ": " + std::strerror(errno));
    for (const std::string& line : lines_) {
        std::fputs(line.c_str(), out);
        std::fputc('\n', out);
    }
    if (std::fflush(out) != 0) {
        int error = errno;
        std::fclose(out);
        throw std::runtime_error("can't write " + file.string() + ": " + std::strerror(error));
    }
    out_ = out;
    file_ = file;
}

void SessionRecorder::stop() {
    if (out_) std::fclose(out_);
    out_ = nullptr;
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
