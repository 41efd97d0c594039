// Basic types and result codes shared by the host and its plug-ins.
#pragma once

#include <cstddef>
#include <cstdint>

using ASErr = std::int32_t;
using ASInt16 = std::int16_t;
using ASInt32 = std::int32_t;
using ASUInt16 = std::uint16_t;
using ASUInt32 = std::uint32_t;
using ASBoolean = std::uint8_t;
using ASReal = float;
using ASUnicode = std::uint16_t;

/// A four-character code: the first character in the most significant byte.
constexpr ASErr ASFourCC(const char (&code)[5]) {
    return static_cast<ASErr>((static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
                              (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
                              (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(code[3])));
}

constexpr ASErr kNoErr = 0;
constexpr ASErr kUnhandledMsgErr = ASFourCC("!MSG");
constexpr ASErr kOutOfMemoryErr = ASFourCC("!MEM");
constexpr ASErr kCantHappenErr = ASFourCC("CANT");
constexpr ASErr kSPPluginCachesFlushResponse = ASFourCC("pFls");
constexpr ASErr kSPSuiteNotFoundError = ASFourCC("S!Fd");
constexpr ASErr kSPBadParameterError = ASFourCC("Parm");
constexpr ASErr kBadParameterErr = ASFourCC("PARM");
/// A handle that the host never gave out, or one whose object is gone.
constexpr ASErr kBadHandleErr = ASFourCC("BHdl");
/// A coordinate that is not a finite number.
constexpr ASErr kBadCoordinateErr = ASFourCC("Coor");
/// A value outside the range the call accepts.
constexpr ASErr kOutOfRangeErr = ASFourCC("Rang");
/// A name the host does not know (tool, preference, resource, group).
constexpr ASErr kNameNotFoundErr = ASFourCC("Nam?");

/// A rectangle in 16-bit integer pixels, v growing downward.
struct ASRect {
    ASInt16 top;
    ASInt16 left;
    ASInt16 bottom;
    ASInt16 right;
};

/// A point in 16-bit integer pixels: vertical first, as the dialog manager keeps it.
struct ASPoint {
    ASInt16 v;
    ASInt16 h;
};

struct SPPlugin;
using SPPluginRef = SPPlugin*;
