// A host Unicode string owned by its C++ object: made from an 8-bit text,
// disposed of when the object goes.
#pragma once

#include "AIUnicodeString.h"

namespace ai {

class UnicodeString {
public:
    /// The text up to its terminating zero, in the given encoding (the platform's, Mac OS
    /// Roman, by default). Throws ai::Error with the host's code when the host can't make it.
    explicit UnicodeString(const char* text, AICharacterEncoding encoding = kAIPlatformCharacterEncoding);
    UnicodeString(const UnicodeString&) = delete;
    UnicodeString& operator=(const UnicodeString&) = delete;
    ~UnicodeString();

    /// The host's handle, valid while this object lives.
    AIUnicodeStringHandle GetHandle() const { return fHandle; }

private:
    AIUnicodeStringHandle fHandle = nullptr;
};

}  // namespace ai
