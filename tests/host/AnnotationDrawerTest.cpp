// The annotator drawer on its own: checked drawer handles, the display list with
// the state of each operation, text metrics, and the frame files made from it.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "host/document/Document.h"
#include "host/platform/HostError.h"
#include "host/platform/SuiteRegistry.h"
#include "host/text/UnicodeStrings.h"
#include "host/view/AnnotationDrawer.h"
#include "host/view/DocumentViews.h"
#include "host/view/FrameRenderer.h"

namespace {

namespace fs = std::filesystem;

class AnnotationDrawerTest : public testing::Test {
protected:
    AnnotationDrawerTest() {
        strings.registerSuites(registry);
        drawers.registerSuites(registry);
        const void* table = nullptr;
        EXPECT_EQ(registry.acquire(kAIAnnotatorDrawerSuite, kAIAnnotatorDrawerSuiteVersion, &table), kNoErr);
        suite = static_cast<const AIAnnotatorDrawerSuite*>(table);
    }

    AIUnicodeStringHandle text(const std::u16string& units) { return strings.create(units); }

    host::DisplayList close(AIAnnotatorDrawer* drawer) {
        host::DisplayList list;
        drawers.close(drawer, list);
        return list;
    }

    host::SuiteRegistry registry;
    host::UnicodeStrings strings;
    host::AnnotationDrawer drawers{strings};
    const AIAnnotatorDrawerSuite* suite = nullptr;
};

TEST_F(AnnotationDrawerTest, OperationsKeepTheStateTheyWereDrawnIn) {
    AIAnnotatorDrawer* drawer = drawers.open();
    EXPECT_EQ(suite->DrawLine(drawer, {1, 2}, {3, 4}), kNoErr);
    EXPECT_EQ(suite->SetColor(drawer, {65535, 32767, 0}), kNoErr);
    EXPECT_EQ(suite->SetLineWidth(drawer, 2.0f), kNoErr);
    EXPECT_EQ(suite->SetLineDashed(drawer, true), kNoErr);
    EXPECT_EQ(suite->SetFontPreset(drawer, kAIAFLarge), kNoErr);
    EXPECT_EQ(suite->DrawEllipse(drawer, {10, 20, 16, 26}, false), kNoErr);
    EXPECT_EQ(
        suite->DrawTextAligned(drawer, text(u"a=90,0\u00B0"), kAIATextAlignCenter, kAIATextAlignCenter, {5, 6, 7, 8}),
        kNoErr);
    const AIAnnotatorBezierPiece pieces[] = {{{1, 1}, {2, 2}, {3, 3}}, {{4, 4}, {5, 5}, {6, 6}}};
    EXPECT_EQ(suite->DrawBeziers(drawer, {0, 0}, pieces, 2, false), kNoErr);

    nlohmann::json frame = host::toJson(close(drawer));
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_EQ(frame[0], nlohmann::json::parse(R"({"op": "line", "from": [1, 2], "to": [3, 4],
        "color": [0, 0, 0], "width": 1.0, "dashed": false})"));
    EXPECT_EQ(frame[1], nlohmann::json::parse(R"({"op": "ellipse", "rect": [10, 20, 16, 26], "fill": false,
        "color": [65535, 32767, 0], "width": 2.0, "dashed": true})"));
    EXPECT_EQ(frame[2]["text"], "a=90,0\u00B0");
    EXPECT_EQ(frame[2]["rect"], nlohmann::json({5, 6, 7, 8}));
    EXPECT_EQ(frame[2]["font"], kAIAFLarge);
    EXPECT_EQ(frame[3]["pieces"], nlohmann::json::parse("[[[1, 1], [2, 2], [3, 3]], [[4, 4], [5, 5], [6, 6]]]"));
    EXPECT_FALSE(frame[3].contains("font"));
}

TEST_F(AnnotationDrawerTest, DrawerIsDeadAfterItsPass) {
    AIAnnotatorDrawer* drawer = drawers.open();
    EXPECT_EQ(suite->DrawLine(drawer, {0, 0}, {1, 1}), kNoErr);
    EXPECT_EQ(close(drawer).size(), 1u);
    EXPECT_EQ(drawers.openCount(), 0u);

    AIAnnotatorDrawer* next = drawers.open();
    AIUnicodeStringHandle label = text(u"x");
    AIRect bounds = {1, 2, 3, 4};
    for (AIAnnotatorDrawer* stale :
         {drawer, static_cast<AIAnnotatorDrawer*>(nullptr), reinterpret_cast<AIAnnotatorDrawer*>(label)}) {
        EXPECT_EQ(suite->SetColor(stale, {1, 1, 1}), kBadHandleErr);
        EXPECT_EQ(suite->SetLineWidth(stale, 3.0f), kBadHandleErr);
        EXPECT_EQ(suite->DrawLine(stale, {0, 0}, {1, 1}), kBadHandleErr);
        EXPECT_EQ(suite->DrawRect(stale, {0, 0, 1, 1}, true), kBadHandleErr);
        EXPECT_EQ(suite->DrawText(stale, label, {0, 0}), kBadHandleErr);
        EXPECT_EQ(suite->GetTextBounds(stale, label, nullptr, &bounds), kBadHandleErr);
    }
    EXPECT_EQ(bounds.right, 4);  // untouched
    // The live drawer saw none of it.
    EXPECT_EQ(suite->DrawLine(next, {0, 0}, {1, 1}), kNoErr);
    host::DisplayList list = close(next);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].state.width, 1.0f);
    EXPECT_EQ(list[0].state.color.red, 0);
}

TEST_F(AnnotationDrawerTest, RefusedArgumentsChangeNothing) {
    AIAnnotatorDrawer* drawer = drawers.open();
    AIUnicodeStringHandle gone = text(u"gone");
    strings.dispose(gone);
    EXPECT_EQ(suite->SetLineWidth(drawer, -1.0f), kBadParameterErr);
    EXPECT_EQ(suite->SetLineWidth(drawer, std::numeric_limits<float>::quiet_NaN()), kBadParameterErr);
    EXPECT_EQ(suite->SetFontPreset(drawer, 3), kBadParameterErr);
    EXPECT_EQ(suite->SetFontPreset(drawer, -1), kBadParameterErr);
    EXPECT_EQ(suite->DrawTextAligned(drawer, text(u"t"), 3, kAIATextAlignCenter, {0, 0, 1, 1}), kBadParameterErr);
    EXPECT_EQ(suite->DrawText(drawer, gone, {0, 0}), kBadHandleErr);
    EXPECT_EQ(suite->DrawBeziers(drawer, {0, 0}, nullptr, 1, false), kBadParameterErr);
    EXPECT_EQ(suite->DrawBeziers(drawer, {0, 0}, nullptr, -1, false), kBadParameterErr);
    EXPECT_EQ(suite->DrawBeziers(drawer, {0, 0}, nullptr, 0, false), kNoErr);  // an empty chain draws nothing
    EXPECT_EQ(suite->GetTextBounds(drawer, text(u"t"), nullptr, nullptr), kBadParameterErr);
    EXPECT_EQ(suite->DrawLine(drawer, {0, 0}, {1, 1}), kNoErr);

    host::DisplayList list = close(drawer);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].state.width, 1.0f);
    EXPECT_EQ(list[0].state.font, kAIAFSmall);
}

TEST_F(AnnotationDrawerTest, TextBoundsGrowWithThePreset) {
    AIAnnotatorDrawer* drawer = drawers.open();
    AIUnicodeStringHandle label = text(u"L=4,0 mm");
    AIRect previous = {0, 0, 0, 0};
    for (ASInt32 preset : {kAIAFSmall, kAIAFMedium, kAIAFLarge}) {
        SCOPED_TRACE(preset);
        ASSERT_EQ(suite->SetFontPreset(drawer, preset), kNoErr);
        AIRect bounds = {-1, -1, -1, -1};
        ASSERT_EQ(suite->GetTextBounds(drawer, label, nullptr, &bounds), kNoErr);
        EXPECT_EQ(bounds.top, 0);
        EXPECT_EQ(bounds.left, 0);
        EXPECT_GT(bounds.bottom, previous.bottom);
        EXPECT_GT(bounds.right, previous.right);
        previous = bounds;
    }
    // The fixed metrics: 8 units of 0.6 × 9 pixels, 9 high, at the small size.
    ASSERT_EQ(suite->SetFontPreset(drawer, kAIAFSmall), kNoErr);
    AIRect bounds{};
    ASSERT_EQ(suite->GetTextBounds(drawer, label, nullptr, &bounds), kNoErr);
    EXPECT_EQ(bounds.bottom, 9);
    EXPECT_EQ(bounds.right, 44);
    // With an origin, the text sits on it like a drawn text: the origin is its bottom-left.
    const AIPoint origin = {100, 50};
    ASSERT_EQ(suite->GetTextBounds(drawer, label, &origin, &bounds), kNoErr);
    EXPECT_EQ(bounds.top, 41);
    EXPECT_EQ(bounds.left, 100);
    EXPECT_EQ(bounds.bottom, 50);
    EXPECT_EQ(bounds.right, 144);
    close(drawer);
}

TEST_F(AnnotationDrawerTest, FrontEndMetricsReplaceTheFixedOnes) {
    struct Wide : host::TextMetrics {
        double fontSize(ASInt32 preset) const override { return 10.0 + preset; }
        host::TextExtent measure(std::u16string_view text, ASInt32) const override {
            return {10.0 * static_cast<double>(text.size()), 20.0};
        }
    };
    drawers.setMetrics(std::make_unique<Wide>());
    AIAnnotatorDrawer* drawer = drawers.open();
    AIRect bounds{};
    ASSERT_EQ(suite->GetTextBounds(drawer, text(u"abc"), nullptr, &bounds), kNoErr);
    EXPECT_EQ(bounds.right, 30);
    EXPECT_EQ(bounds.bottom, 20);
    drawers.setMetrics(nullptr);
    ASSERT_EQ(suite->GetTextBounds(drawer, text(u"abc"), nullptr, &bounds), kNoErr);
    EXPECT_EQ(bounds.right, 17);  // 3 × 5.4, whole pixels
    close(drawer);
}

/// A file of the test's own in the temporary folder, removed with the test.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& extension)
        : path_(fs::temp_directory_path() /
                ("orvane-frame-" + std::to_string(::getpid()) + "-" + std::to_string(serial_++) + extension)) {}
    ~TemporaryFile() { fs::remove(path_); }
    const fs::path& path() const { return path_; }
    std::string contents() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    static inline int serial_ = 0;
    fs::path path_;
};

TEST_F(AnnotationDrawerTest, FramesAreWrittenAsPngAndSvg) {
    host::Document document;
    host::DocumentViews views;
    document.addSvgPath("M 0 0 L 100 0 L 100 100 Z M -50 -50 C -20 0 20 0 50 -50");
    AIAnnotatorDrawer* drawer = drawers.open();
    suite->SetLineDashed(drawer, true);
    suite->DrawLine(drawer, {400, 300}, {500, 300});
    suite->DrawRect(drawer, {280, 380, 300, 430}, true);
    suite->DrawTextAligned(drawer, text(u"L=4,0 mm"), kAIATextAlignCenter, kAIATextAlignCenter, {280, 380, 300, 430});
    suite->DrawText(drawer, text(u"Click to finish."), {300, 320});
    host::DisplayList frame = close(drawer);
    host::FrameRenderer renderer(document, views, drawers.metrics());

    TemporaryFile png(".png");
    renderer.write(png.path(), frame);
    std::string bytes = png.contents();
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");

    TemporaryFile svg(".SVG");
    renderer.write(svg.path(), frame);
    std::string markup = svg.contents();
    EXPECT_NE(markup.find("<svg"), std::string::npos);
    EXPECT_NE(markup.find("width=\"800px\" height=\"600px\""), std::string::npos);

    TemporaryFile other(".jpg");
    EXPECT_THROW(renderer.write(other.path(), frame), host::HostError);
    EXPECT_FALSE(fs::exists(other.path()));
    EXPECT_THROW(renderer.write(fs::path("/nonexistent-folder/frame.png"), frame), host::HostError);
}

}  // namespace
