#include "host/text/UnicodeStrings.h"

#include <atomic>
#include <limits>
#include <new>
#include <stdexcept>

#include "host/platform/SuiteRegistry.h"
#include "host/text/MacRoman.h"

namespace host {
namespace {

static_assert(sizeof(std::uintptr_t) >= 8, "handles carry a 64-bit id");

// Ids are shared by every instance and never reused, so a disposed handle, or one
// from another instance, stays unknown. The tag and the odd low bit keep them
// apart from real addresses and from the small ids of other pieces.
constexpr std::uint64_t kTag = std::uint64_t{0x5553} << 48;
std::atomic<std::uint64_t> nextSerial{1};

AIUnicodeStringHandle handleFor(std::uint64_t id) {
    return reinterpret_cast<AIUnicodeStringHandle>(static_cast<std::uintptr_t>(id));
}

std::uint64_t idOf(AIUnicodeStringHandle handle) {
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

}  // namespace

struct UnicodeStringSuiteFunctions {
    static AIErr Initialize(const char* text, ASInt32 length, AICharacterEncoding encoding,
                            AIUnicodeStringHandle* string) noexcept {
        return guardedCall<UnicodeStrings>([&](UnicodeStrings& self) {
            if (!string || length < -1 || (!text && length != 0)) return kBadParameterErr;
            std::string_view bytes;
            if (text)
                bytes =
                    length == -1 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(length));
            std::u16string units;
            switch (encoding) {
                case kAIPlatformCharacterEncoding:
                    units = macRomanToUtf16(bytes);
                    break;
                case kAIUTF8CharacterEncoding:
                    if (!isValidUtf8(bytes)) return kBadParameterErr;
                    units = utf8ToUtf16(bytes);
                    break;
                default:
                    return kBadParameterErr;
            }
            *string = self.create(std::move(units));
            return kNoErr;
        });
    }

    static AIErr Dispose(AIUnicodeStringHandle string) noexcept {
        return guardedCall<UnicodeStrings>(
            [&](UnicodeStrings& self) { return self.dispose(string) ? kNoErr : kBadHandleErr; });
    }

    static AIErr GetUTF16(AIUnicodeStringHandle string, const ASUnicode** units, ASInt32* length) noexcept {
        return guardedCall<UnicodeStrings>([&](UnicodeStrings& self) {
            const std::vector<ASUnicode>* found = self.find(string);
            if (!found) return kBadHandleErr;
            if (!units || !length) return kBadParameterErr;
            std::size_t count = found->size() - 1;  // the terminating zero is not counted
            if (count > static_cast<std::size_t>(std::numeric_limits<ASInt32>::max())) return kOutOfRangeErr;
            *units = found->data();
            *length = static_cast<ASInt32>(count);
            return kNoErr;
        });
    }
};

namespace {

constexpr AIUnicodeStringSuite kSuite = {
    UnicodeStringSuiteFunctions::Initialize,
    UnicodeStringSuiteFunctions::Dispose,
    UnicodeStringSuiteFunctions::GetUTF16,
};

}  // namespace

UnicodeStrings::~UnicodeStrings() {
    ActivePiece<UnicodeStrings>::clear(this);
}

void UnicodeStrings::registerSuites(SuiteRegistry& registry) {
    registry.add(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &kSuite);
    ActivePiece<UnicodeStrings>::set(this);
}

AIUnicodeStringHandle UnicodeStrings::create(std::u16string text) {
    std::vector<ASUnicode> units(text.size() + 1, 0);
    for (std::size_t i = 0; i < text.size(); ++i) units[i] = static_cast<ASUnicode>(text[i]);
    std::uint64_t id = kTag | (nextSerial.fetch_add(1) << 1) | 1;
    strings_.emplace(id, std::move(units));
    return handleFor(id);
}

bool UnicodeStrings::dispose(AIUnicodeStringHandle string) {
    return strings_.erase(idOf(string)) == 1;
}

const std::vector<ASUnicode>* UnicodeStrings::find(AIUnicodeStringHandle string) const {
    auto found = strings_.find(idOf(string));
    return found == strings_.end() ? nullptr : &found->second;
}

std::optional<std::u16string> UnicodeStrings::text(AIUnicodeStringHandle string) const {
    const std::vector<ASUnicode>* found = find(string);
    if (!found) return std::nullopt;
    std::u16string result(found->size() - 1, u'\0');
    for (std::size_t i = 0; i + 1 < found->size(); ++i) result[i] = static_cast<char16_t>((*found)[i]);
    return result;
}

std::optional<std::string> UnicodeStrings::utf8(AIUnicodeStringHandle string) const {
    auto units = text(string);
    if (!units) return std::nullopt;
    return utf16ToUtf8(*units);
}

}  // namespace host
