// Splits one line of a session file into its tokens.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace replay {

struct LexError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// Tokens separated by blanks; "…" holds blanks, \" and \\ inside; "" is the empty token;
/// '#' at the start of a token starts a comment; a quote inside a word is part of the word. Throws LexError for an
/// unterminated quote.
std::vector<std::string> tokenize(std::string_view line);

}  // namespace replay
