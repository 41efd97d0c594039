// The one exception of the plug-in: a host result code carried out of deep code
// to the message dispatch, which turns it back into the code.
#pragma once

#include <exception>

#include "ASTypes.h"

namespace ai {

class Error : public std::exception {
public:
    explicit Error(ASErr code) : fCode(code) {}
    operator ASErr() const { return fCode; }
    const char* what() const noexcept override { return "host error"; }

private:
    ASErr fCode;
};

}  // namespace ai

/// Throws ai::Error for a non-zero host code.
inline void check_result(ASErr code) {
    if (code != kNoErr) throw ai::Error(code);
}
