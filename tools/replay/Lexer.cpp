#include "Lexer.h"

namespace replay {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::vector<std::string> tokenize(std::string_view line) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        std::string token;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) c = line[i++];
                token += c;
            }
            if (!closed) throw LexError("unterminated quoted text");
            if (i < line.size() && !isBlank(line[i]) && line[i] != '#')
                throw LexError("a quoted text must be followed by a blank");
        } else {
            // Quotes inside a word are part of it, so JSON values read as written.
            while (i < line.size() && !isBlank(line[i])) token += line[i++];
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

}  // namespace replay
