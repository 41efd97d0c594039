#include "host/dialogs/AdmBasic.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "host/text/MacRoman.h"

namespace host {

using Active = ActivePiece<AdmBasic>;

namespace {

constexpr const char* kDegreeSign = "\xA1";  // Mac OS Roman
/// The decimal separator of every number the host shows: the one of the tool's labels.
constexpr char kDecimalSeparator = ',';

void copyBounded(const std::string& text, char* buffer, ASInt32 maxLength) {
    if (!buffer || maxLength <= 0) return;
    std::size_t length = std::min(text.size(), static_cast<std::size_t>(maxLength - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

}  // namespace

AdmBasic::~AdmBasic() {
    Active::clear(this);
}

void AdmBasic::registerSuites(SuiteRegistry& registry) {
    static const ADMBasicSuite suite = {&beepProc,       &errorAlert,        &aboutBox,       &getScreenDimensions,
                                        &getIndexString, &setPlatformCursor, &valueToTextProc};
    Active::set(this);
    registry.add(kADMBasicSuite, kADMBasicSuiteVersion10, &suite);
    registry.add(kADMBasicSuite, kADMBasicSuiteVersion11, &suite);
}

std::string AdmBasic::valueToText(float value, ADMUnits units, int precision, bool appendUnits) {
    double shown = value;
    const char* unit = "";
    switch (units) {
        case kADMMillimeterUnits:
            shown = value * AdmBasic::kMillimetresPerPoint;
            unit = " mm";
            break;
        case kADMPointUnits:
            unit = " pt";
            break;
        case kADMDegreeUnits:
            unit = kDegreeSign;
            break;
        case kADMNoUnits:
            break;
    }
    if (!std::isfinite(shown)) return "?";
    precision = std::clamp(precision, 0, 6);
    // Written without the C library's locale, which a GUI may set to the person's.
    char text[512];
    char* end = std::to_chars(text, text + sizeof text, shown, std::chars_format::fixed, precision).ptr;
    std::string result(text, end);
    if (result == "-0") result = "0";
    std::replace(result.begin(), result.end(), '.', kDecimalSeparator);
    if (appendUnits) result += unit;
    return result;
}

void AdmBasic::dump(nlohmann::json& out) const {
    out["beeps"] = beeps_;
    out["alerts"] = alerts_;
    auto& about = out["about"] = nlohmann::json::array();
    for (const auto& [first, second] : about_) about.push_back({first, second});
    out["cursor"] = cursor_;
    out["screen"] = {screen_.top, screen_.left, screen_.bottom, screen_.right};
}

void AdmBasic::beepProc() {
    guardedAction<AdmBasic>([](AdmBasic& self) { self.beep(); });
}

void AdmBasic::errorAlert(const char* text) {
    guardedAction<AdmBasic>([&](AdmBasic& self) { self.alerts_.push_back(macRomanToUtf8(text ? text : "")); });
}

void AdmBasic::aboutBox(SPPluginRef, const char* text1, const char* text2) {
    guardedAction<AdmBasic>([&](AdmBasic& self) {
        self.about_.emplace_back(macRomanToUtf8(text1 ? text1 : ""), macRomanToUtf8(text2 ? text2 : ""));
    });
}

void AdmBasic::getScreenDimensions(ASRect* dimensions) {
    guardedAction<AdmBasic>([&](AdmBasic& self) {
        if (dimensions) *dimensions = self.screen_;
    });
}

ASErr AdmBasic::getIndexString(SPPluginRef plugin, ASInt32 stringID, ASInt32 index, char* buffer, ASInt32 maxLength) {
    if (!buffer || maxLength <= 0) return kBadParameterErr;
    buffer[0] = '\0';
    return guardedCall<AdmBasic>([&](AdmBasic& self) {
        Bundle* bundle = self.plugins_.find(plugin);
        if (!bundle) return kBadHandleErr;
        std::optional<std::string> text = bundle->indexString(stringID, index);
        if (!text) return kNameNotFoundErr;
        copyBounded(*text, buffer, maxLength);
        return kNoErr;
    });
}

void AdmBasic::setPlatformCursor(SPPluginRef plugin, ASInt32 cursorID) {
    guardedAction<AdmBasic>([&](AdmBasic& self) {
        if (self.plugins_.find(plugin)) self.cursor_ = cursorID;
    });
}

void AdmBasic::valueToTextProc(float value, char* text, ASInt32 maxLength, ADMUnits units, ASInt32 precision,
                               ASBoolean appendUnits) {
    guarded([&] { copyBounded(valueToText(value, units, precision, appendUnits != 0), text, maxLength); });
}

}  // namespace host
