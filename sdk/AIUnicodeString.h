#pragma once

#include "AITypes.h"

constexpr const char* kAIUnicodeStringSuite = "AI Unicode String Suite";
constexpr ASInt32 kAIUnicodeStringSuiteVersion = 1006;

/// Encodings of the 8-bit texts handed to the host.
enum AICharacterEncoding : ASInt32 {
    kAIPlatformCharacterEncoding = 0,  ///< Mac OS Roman
    kAIUTF8CharacterEncoding = 1,
};

/// Host strings in Unicode. Each string made here belongs to the caller until Dispose.
struct AIUnicodeStringSuite {
    /// A new string from length bytes of text (length -1: up to the terminating zero).
    AIErr (*Initialize)(const char* text, ASInt32 length, AICharacterEncoding encoding, AIUnicodeStringHandle* string);
    AIErr (*Dispose)(AIUnicodeStringHandle string);
    /// The string's UTF-16 code units, valid until the string is disposed.
    AIErr (*GetUTF16)(AIUnicodeStringHandle string, const ASUnicode** units, ASInt32* length);
};
