#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "host/platform/SuiteRegistry.h"
#include "host/text/MacRoman.h"
#include "host/text/UnicodeStrings.h"

namespace {

using namespace std::string_literals;

TEST(MacRoman, DecodesThePlatformCharacters) {
    EXPECT_EQ(host::macRomanToUtf8("\xA5"), "\u2022");  // bullet
    EXPECT_EQ(host::macRomanToUtf8("\xC9"), "\u2026");  // ellipsis
    EXPECT_EQ(host::macRomanToUtf8("\xA1"), "\u00B0");  // degree sign
    EXPECT_EQ(host::macRomanToUtf16("12\xA1 \xA5 x\xC9"), u"12\u00B0 \u2022 x\u2026");
    EXPECT_EQ(host::macRomanToUtf8("Angle: 45 deg\r"), "Angle: 45 deg\r");
    EXPECT_EQ(host::macRomanToUtf8(""), "");
    // Where the C library's table strays from the platform's.
    EXPECT_EQ(host::macRomanToUtf16("\xC6\xF0"), u"\u2206\uF8FF");
}

TEST(MacRoman, EncodesOnlyWhatItHas) {
    EXPECT_EQ(host::utf8ToMacRoman("\u2022\u2026\u00B0\r"), "\xA5\xC9\xA1\r"s);
    EXPECT_EQ(host::utf8ToMacRoman("\u2206\uF8FF"), "\xC6\xF0"s);
    EXPECT_EQ(host::utf8ToMacRoman("a\0b"s), "a\0b"s);
    EXPECT_EQ(host::utf8ToMacRoman("\u0142"), std::nullopt);  // Polish l with stroke
    EXPECT_EQ(host::utf8ToMacRoman("\U0001F600"), std::nullopt);
    EXPECT_EQ(host::utf8ToMacRoman("\xC9"), std::nullopt);  // platform bytes are not UTF-8
}

TEST(MacRoman, EveryByteRoundTrips) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    std::string utf8 = host::macRomanToUtf8(all);
    EXPECT_EQ(host::utf8ToMacRoman(utf8), all);
    EXPECT_EQ(host::utf8ToUtf16(utf8), host::macRomanToUtf16(all));
}

TEST(Utf, ConvertsBetweenUtf8AndUtf16) {
    std::string utf8 = "\uFEFFx\u00E9\u2026\U0001F600\0z"s;  // a leading BOM is text, not a marker
    std::u16string utf16 = u"\uFEFFx\u00E9\u2026\U0001F600\0z"s;
    EXPECT_EQ(host::utf8ToUtf16(utf8), utf16);
    EXPECT_EQ(host::utf16ToUtf8(utf16), utf8);
    EXPECT_THROW(host::utf16ToUtf8(u"a\xD800z"), std::invalid_argument);
    EXPECT_THROW(host::utf16ToUtf8(u"\xDC00"), std::invalid_argument);
}

TEST(Utf, RejectsIllFormedUtf8) {
    for (std::string bad : {"\xC0\x80"s, "\xE0\x80\xAF"s, "\xED\xA0\x80"s, "\xF4\x90\x80\x80"s, "\x80"s, "\xE2\x80"s,
                            "a\xFF"s, "\xF8\x88\x80\x80\x80"s}) {
        SCOPED_TRACE(testing::PrintToString(bad));
        EXPECT_FALSE(host::isValidUtf8(bad));
        EXPECT_THROW(host::utf8ToUtf16(bad), std::invalid_argument);
    }
    EXPECT_TRUE(host::isValidUtf8("\u007F\u0080\u07FF\u0800\uD7FF\uE000\U00010000\U0010FFFF"));
}

class UnicodeSuite : public testing::Test {
protected:
    void SetUp() override {
        strings.registerSuites(registry);
        const void* table = nullptr;
        ASSERT_EQ(registry.acquire(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &table), kNoErr);
        suite = static_cast<const AIUnicodeStringSuite*>(table);
    }

    std::u16string read(AIUnicodeStringHandle handle) {
        const ASUnicode* units = nullptr;
        ASInt32 length = -1;
        EXPECT_EQ(suite->GetUTF16(handle, &units, &length), kNoErr);
        EXPECT_EQ(units[length], 0);
        return std::u16string(units, units + length);
    }

    host::SuiteRegistry registry;
    host::UnicodeStrings strings;
    const AIUnicodeStringSuite* suite = nullptr;
};

TEST_F(UnicodeSuite, InitializesFromEitherEncoding) {
    AIUnicodeStringHandle roman = nullptr, utf8 = nullptr, counted = nullptr, empty = nullptr;
    ASSERT_EQ(suite->Initialize("12\xA1\xC9", -1, kAIPlatformCharacterEncoding, &roman), kNoErr);
    ASSERT_EQ(suite->Initialize("\u2022 ok", -1, kAIUTF8CharacterEncoding, &utf8), kNoErr);
    ASSERT_EQ(suite->Initialize("ab\0cd", 4, kAIUTF8CharacterEncoding, &counted), kNoErr);
    ASSERT_EQ(suite->Initialize(nullptr, 0, kAIUTF8CharacterEncoding, &empty), kNoErr);
    EXPECT_EQ(read(roman), u"12\u00B0\u2026");
    EXPECT_EQ(read(utf8), u"\u2022 ok");
    EXPECT_EQ(read(counted), u"ab\0c"s);
    EXPECT_EQ(read(empty), u"");
    EXPECT_EQ(strings.utf8(roman), "12\u00B0\u2026");
    EXPECT_EQ(strings.text(utf8), u"\u2022 ok");
    EXPECT_EQ(strings.liveCount(), 4u);
    for (auto handle : {roman, utf8, counted, empty}) EXPECT_EQ(suite->Dispose(handle), kNoErr);
    EXPECT_EQ(strings.liveCount(), 0u);
}

TEST_F(UnicodeSuite, RefusesBadArgumentsWithoutMakingAString) {
    AIUnicodeStringHandle handle = nullptr;
    EXPECT_EQ(suite->Initialize("\xC9", -1, kAIUTF8CharacterEncoding, &handle), kBadParameterErr);
    EXPECT_EQ(suite->Initialize("x", -2, kAIUTF8CharacterEncoding, &handle), kBadParameterErr);
    EXPECT_EQ(suite->Initialize("x", 1, static_cast<AICharacterEncoding>(7), &handle), kBadParameterErr);
    EXPECT_EQ(suite->Initialize(nullptr, 1, kAIUTF8CharacterEncoding, &handle), kBadParameterErr);
    EXPECT_EQ(suite->Initialize("x", 1, kAIUTF8CharacterEncoding, nullptr), kBadParameterErr);
    EXPECT_EQ(handle, nullptr);
    EXPECT_EQ(strings.liveCount(), 0u);
}

TEST_F(UnicodeSuite, StaleAndForeignHandlesAreRefused) {
    AIUnicodeStringHandle kept = nullptr, gone = nullptr;
    ASSERT_EQ(suite->Initialize("kept", -1, kAIUTF8CharacterEncoding, &kept), kNoErr);
    ASSERT_EQ(suite->Initialize("gone", -1, kAIUTF8CharacterEncoding, &gone), kNoErr);
    ASSERT_EQ(suite->Dispose(gone), kNoErr);

    host::UnicodeStrings other;
    int local = 0;
    auto made_up = reinterpret_cast<AIUnicodeStringHandle>(&local);
    for (auto bad : {gone, other.create(u"elsewhere"), made_up, AIUnicodeStringHandle{}}) {
        const ASUnicode* units = nullptr;
        ASInt32 length = 77;
        EXPECT_EQ(suite->GetUTF16(bad, &units, &length), kBadHandleErr);
        EXPECT_EQ(suite->Dispose(bad), kBadHandleErr);
        EXPECT_EQ(units, nullptr);
        EXPECT_EQ(length, 77);
        EXPECT_EQ(strings.text(bad), std::nullopt);
    }
    EXPECT_EQ(strings.liveCount(), 1u);
    EXPECT_EQ(read(kept), u"kept");
}

TEST(UnicodeStrings, SuiteOutlivingItsInstanceAnswersAnError) {
    host::SuiteRegistry registry;
    auto strings = std::make_unique<host::UnicodeStrings>();
    strings->registerSuites(registry);
    const void* table = nullptr;
    ASSERT_EQ(registry.acquire(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &table), kNoErr);
    strings.reset();
    AIUnicodeStringHandle handle = nullptr;
    EXPECT_NE(static_cast<const AIUnicodeStringSuite*>(table)->Initialize("x", -1, kAIUTF8CharacterEncoding, &handle),
              kNoErr);
    EXPECT_EQ(handle, nullptr);
}

}  // namespace
