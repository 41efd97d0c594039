// The dialog manager's basic services: beeps, alerts, About boxes, the screen,
// string lists, cursors and value-to-text.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "ADMBasic.h"
#include "host/platform/Plugins.h"
#include "host/platform/SuiteRegistry.h"

namespace host {

class AdmBasic {
public:
    /// Millimetres in a point (1/72 inch): the document's unit shown in millimetres.
    static constexpr double kMillimetresPerPoint = 25.4 / 72.0;

    explicit AdmBasic(Plugins& plugins) : plugins_(plugins) {}
    ~AdmBasic();
    void registerSuites(SuiteRegistry& registry);

    void setScreen(int width, int height) {
        screen_ = {0, 0, static_cast<ASInt16>(height), static_cast<ASInt16>(width)};
    }
    const ASRect& screen() const { return screen_; }

    int beeps() const { return beeps_; }
    void beep() { ++beeps_; }
    /// Alerts shown so far, in UTF-8.
    const std::vector<std::string>& alerts() const { return alerts_; }
    const std::vector<std::pair<std::string, std::string>>& aboutBoxes() const { return about_; }
    int cursor() const { return cursor_; }

    /// value (in points for millimetre units) as the dialog manager shows it, in the platform encoding.
    static std::string valueToText(float value, ADMUnits units, int precision, bool appendUnits);

    void dump(nlohmann::json& out) const;

private:
    static void beepProc();
    static void errorAlert(const char* text);
    static void aboutBox(SPPluginRef plugin, const char* text1, const char* text2);
    static void getScreenDimensions(ASRect* dimensions);
    static ASErr getIndexString(SPPluginRef plugin, ASInt32 stringID, ASInt32 index, char* buffer, ASInt32 maxLength);
    static void setPlatformCursor(SPPluginRef plugin, ASInt32 cursorID);
    static void valueToTextProc(float value, char* text, ASInt32 maxLength, ADMUnits units, ASInt32 precision,
                                ASBoolean appendUnits);

    Plugins& plugins_;
    ASRect screen_{0, 0, 900, 1440};
    int beeps_ = 0;
    std::vector<std::string> alerts_;
    std::vector<std::pair<std::string, std::string>> about_;
    int cursor_ = 0;
};

}  // namespace host
