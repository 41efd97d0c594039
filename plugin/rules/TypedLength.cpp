#include "TypedLength.h"

#include <dlfcn.h>
#include <muParser.h>
#include <muParserDLL.h>
#include <cctype>
#include <cmath>
#include <string>

namespace {

struct LengthUnit {
    const char* suffix;
    double millimetres;
};

// Longer suffixes first, so that "mm" is not read as metres.
constexpr LengthUnit kUnits[] = {
    {"mm", 1.0}, {"cm", 10.0}, {"in", 25.4}, {"ft", 304.8}, {"pt", 25.4 / 72.0}, {"m", 1000.0},
};

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

/// Keeps the expression library in the process once the plug-in is unloaded: it allocates at its
/// load what it frees only when the process ends, and unmapped with the plug-in that block would
/// be lost.
bool KeepExpressionReaderLoaded() {
    Dl_info library{};
    if (dladdr(reinterpret_cast<void*>(&mupCreate), &library) == 0 || !library.dli_fname) return false;
    // Already loaded with the plug-in: this only marks it never to be unloaded.
    return dlopen(library.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

// As the module loads, whether or not the plug-in ever starts.
[[maybe_unused]] const bool kExpressionReaderKept = KeepExpressionReaderLoaded();

}  // namespace

std::optional<double> ReadTypedNumber(const char* text) {
    std::string expression(text);
    // Either separator reads as a decimal point: the expressions have no argument lists.
    for (char& c : expression)
        if (c == ',') c = '.';
    // Only arithmetic: letters would reach the parser's own functions and constants.
    for (char c : expression)
        if (std::isalpha(static_cast<unsigned char>(c))) return std::nullopt;

    try {
        mu::Parser parser;
        parser.SetExpr(expression);
        const double value = parser.Eval();
        if (!std::isfinite(value)) return std::nullopt;
        return value;
    } catch (const mu::Parser::exception_type&) {
        return std::nullopt;
    }
}

std::optional<double> ReadTypedLength(const char* text) {
    std::string expression(text);
    while (!expression.empty() && std::isspace(static_cast<unsigned char>(expression.back()))) expression.pop_back();

    double millimetresPerUnit = 1.0;
    for (const LengthUnit& unit : kUnits) {
        if (EndsWith(expression, unit.suffix)) {
            expression.resize(expression.size() - std::string(unit.suffix).size());
            millimetresPerUnit = unit.millimetres;
            break;
        }
    }
    const std::optional<double> number = ReadTypedNumber(expression.c_str());
    if (!number) return std::nullopt;
    const double millimetres = *number * millimetresPerUnit;
    if (!std::isfinite(millimetres) || millimetres <= 0.0) return std::nullopt;
    return millimetres;
}
