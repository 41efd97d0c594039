// The document view, the toolbox and a person's tool actions at the host, with
// fake tools that record the messages they receive.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "host/Host.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

template <class Suite>
const Suite* acquire(host::Host& host, const char* name, ASInt32 version) {
    const void* table = nullptr;
    EXPECT_EQ(host.suites().acquire(name, version, &table), kNoErr);
    return static_cast<const Suite*>(table);
}

struct Received {
    AIToolHandle tool;
    std::string selector;
    AIRealPoint cursor;
    AIEvent event;
};

/// A host with no plug-in module: tools are registered from here and their messages recorded.
class ViewTool : public testing::Test {
protected:
    ViewTool() {
        host.tools().setSender([this](const host::Tools::Tool&, const char* selector, SPMessageData& record) {
            if (std::string(selector) == kSelectorAIToolKeyDown) {
                auto& key = reinterpret_cast<AIToolKeyMessage&>(record);
                keys.push_back(key);
                key.used = useKeys;
                return kNoErr;
            }
            auto& message = reinterpret_cast<AIToolMessage&>(record);
            log.push_back({message.tool, selector, message.cursor, message.event ? *message.event : AIEvent{}});
            if (onMessage) onMessage(log.back());
            return kNoErr;
        });
        views = acquire<AIDocumentViewSuite>(host, kAIDocumentViewSuite, kAIDocumentViewSuiteVersion);
        toolSuite = acquire<AIToolSuite>(host, kAIToolSuite, kAIToolSuiteVersion);
    }

    AIToolHandle addTool(const std::string& name, ASInt32 options = kToolWantsToTrackCursorOption) {
        AIAddToolData data{name.c_str(), "tip", 0, nullptr, kNoTool, kNoTool};
        AIToolHandle tool = nullptr;
        EXPECT_EQ(host.tools().add(host.plugins().ref(0), name, data, options, &tool), kNoErr);
        return tool;
    }

    std::vector<std::string> selectors() const {
        std::vector<std::string> names;
        for (const Received& message : log) names.push_back(message.selector);
        return names;
    }

    host::Host host{{"/nonexistent-plugins", std::nullopt, [](const std::string&) {}}};
    const AIDocumentViewSuite* views;
    const AIToolSuite* toolSuite;
    std::vector<Received> log;
    std::function<void(const Received&)> onMessage;
    std::vector<AIToolKeyMessage> keys;
    /// The tools' answer to a key.
    bool useKeys = false;
};

TEST_F(ViewTool, ViewPointsRoundTripAtEachZoom) {
    AIDocumentViewHandle view = nullptr;
    ASSERT_EQ(views->GetNthDocumentView(0, &view), kNoErr);
    AIRealPoint center{100.0f, -50.0f};
    ASSERT_EQ(views->SetDocumentViewCenter(view, &center), kNoErr);
    for (AIReal zoom : {1.0f, 2.0f}) {
        SCOPED_TRACE(zoom);
        ASSERT_EQ(views->SetDocumentViewZoom(view, zoom), kNoErr);
        AIPoint pixel{};
        ASSERT_EQ(views->ArtworkPointToViewPoint(view, &center, &pixel), kNoErr);
        EXPECT_EQ(pixel.h, 400);
        EXPECT_EQ(pixel.v, 300);
        // Artwork v grows upward, view v downward.
        AIRealPoint upRight{center.h + 10.0f, center.v + 10.0f};
        ASSERT_EQ(views->ArtworkPointToViewPoint(view, &upRight, &pixel), kNoErr);
        EXPECT_EQ(pixel.h, 400 + 10 * zoom);
        EXPECT_EQ(pixel.v, 300 - 10 * zoom);
        for (AIRealPoint point :
             {AIRealPoint{-37.25f, 12.5f}, AIRealPoint{250.0f, -199.75f}, AIRealPoint{0.4f, 0.6f}}) {
            AIRealPoint back{};
            ASSERT_EQ(views->ArtworkPointToViewPoint(view, &point, &pixel), kNoErr);
            ASSERT_EQ(views->ViewPointToArtworkPoint(view, &pixel, &back), kNoErr);
            EXPECT_LE(std::fabs(back.h - point.h), 0.5f / zoom);
            EXPECT_LE(std::fabs(back.v - point.v), 0.5f / zoom);
        }
    }
    AIRect bounds{};
    ASSERT_EQ(views->GetDocumentViewBounds(view, &bounds), kNoErr);
    EXPECT_EQ(bounds.bottom, 600);
    EXPECT_EQ(bounds.right, 800);
}

TEST_F(ViewTool, ViewRefusesWhatItCannotShow) {
    AIDocumentViewHandle view = host.views().handle();
    AIDocumentViewHandle other = nullptr;
    EXPECT_EQ(views->GetNthDocumentView(1, &other), kOutOfRangeErr);
    EXPECT_EQ(other, nullptr);
    AIReal zoom = 0;
    EXPECT_EQ(views->GetDocumentViewZoom(reinterpret_cast<AIDocumentViewHandle>(0x1234), &zoom), kBadHandleErr);

    // Far points clamp to 16 bits; points that are not numbers are refused.
    AIRealPoint far{1e30f, -1e30f};
    AIPoint pixel{};
    ASSERT_EQ(views->ArtworkPointToViewPoint(view, &far, &pixel), kNoErr);
    EXPECT_EQ(pixel.h, 32767);
    EXPECT_EQ(pixel.v, 32767);
    AIRealPoint bad{kNaN, 0.0f};
    EXPECT_EQ(views->ArtworkPointToViewPoint(view, &bad, &pixel), kBadCoordinateErr);

    for (AIReal wrong : {0.0f, -1.0f, kNaN, kInf}) EXPECT_EQ(views->SetDocumentViewZoom(view, wrong), kOutOfRangeErr);
    EXPECT_EQ(views->SetDocumentViewCenter(view, &bad), kBadCoordinateErr);
    EXPECT_EQ(host.views().zoom(), 1.0f);
    EXPECT_FALSE(host.views().invalid());
    EXPECT_THROW(host.views().setZoom(0.0f), host::HostError);
    EXPECT_THROW(host.views().setCenter({0.0f, kInf}), host::HostError);
}

TEST_F(ViewTool, SettingTheZoomToItsOwnValueAsksForARedraw) {
    AIDocumentViewHandle view = host.views().handle();
    AIReal zoom = 0;
    ASSERT_EQ(views->GetDocumentViewZoom(view, &zoom), kNoErr);
    ASSERT_EQ(views->SetDocumentViewZoom(view, zoom), kNoErr);
    EXPECT_TRUE(host.views().invalid());
    host.afterEvent();
    EXPECT_FALSE(host.views().invalid());
    EXPECT_EQ(host.views().redraws(), 1);
    host.afterEvent();
    EXPECT_EQ(host.views().redraws(), 1);
}

TEST_F(ViewTool, RedrawWaitsUntilTheToolMessageHasReturned) {
    AIToolHandle tool = addTool("Fake Tool");
    host.selectTool("Fake Tool");
    long redrawsInside = -1;
    onMessage = [&](const Received& message) {
        if (message.selector != kSelectorAITrackToolCursor) return;
        AIReal zoom = 0;
        views->GetDocumentViewZoom(host.views().handle(), &zoom);
        views->SetDocumentViewZoom(host.views().handle(), zoom);
        redrawsInside = host.views().redraws();
    };
    host.move({5.0f, 5.0f}, 0);
    EXPECT_EQ(redrawsInside, 0);
    EXPECT_EQ(host.views().redraws(), 1);
    EXPECT_FALSE(host.views().invalid());
    EXPECT_EQ(log.back().tool, tool);
}

TEST_F(ViewTool, SelectionMessagesGoOutInOrder) {
    AIToolHandle first = addTool("First Tool");
    AIToolHandle second = addTool("Second Tool");
    AIToolHandle selectedDuringSelect = nullptr;
    onMessage = [&](const Received& message) {
        if (message.selector == kSelectorAISelectTool) toolSuite->GetSelectedTool(&selectedDuringSelect);
    };

    host.selectTool("First Tool");
    EXPECT_EQ(selectedDuringSelect, first);
    host.selectTool("Second Tool");
    host.selectTool("Second Tool");  // already selected: nothing to say
    host.deselect();
    EXPECT_EQ(selectors(), (std::vector<std::string>{kSelectorAISelectTool, kSelectorAIDeselectTool,
                                                     kSelectorAISelectTool, kSelectorAIDeselectTool}));
    std::vector<AIToolHandle> tools;
    for (const Received& message : log) tools.push_back(message.tool);
    EXPECT_EQ(tools, (std::vector<AIToolHandle>{first, first, second, second}));
    EXPECT_EQ(host.dumpHost()["selectedTool"], host::Tools::kSelectionToolName);

    EXPECT_THROW(host.selectTool("No Such Tool"), host::HostError);
    EXPECT_THROW(host.editTool(), host::HostError);  // the host's own tool has no options
}

TEST_F(ViewTool, AToolSwitchAskedForInsideAMessageWaitsForItsEnd) {
    AIToolHandle first = addTool("First Tool");
    AIToolHandle second = addTool("Second Tool");
    host.selectTool("First Tool");
    log.clear();
    std::vector<std::string> seenInside;
    onMessage = [&](const Received& message) {
        if (message.selector != kSelectorAIEditToolOptions) return;
        EXPECT_EQ(toolSuite->SetSelectedTool(second), kNoErr);
        AIToolHandle selected = nullptr;
        toolSuite->GetSelectedTool(&selected);
        EXPECT_EQ(selected, first);
        seenInside = selectors();
    };
    host.editTool();
    EXPECT_EQ(seenInside, std::vector<std::string>{kSelectorAIEditToolOptions});
    EXPECT_EQ(selectors(),
              (std::vector<std::string>{kSelectorAIEditToolOptions, kSelectorAIDeselectTool, kSelectorAISelectTool}));
    EXPECT_EQ(log.back().tool, second);
    EXPECT_EQ(toolSuite->SetSelectedTool(reinterpret_cast<AIToolHandle>(0x42)), kBadHandleErr);
}

TEST_F(ViewTool, MovesAndClicksCarryTheCursorAndTheKeys) {
    AIToolHandle tracking = addTool("Tracking Tool");
    addTool("Quiet Tool", 0);
    host.views().setZoom(2.0f);
    host.selectTool("Tracking Tool");
    log.clear();

    host.move({10.0f, 20.0f}, shiftKey | controlKey);
    host.click({-3.5f, 4.0f}, optionKey);
    ASSERT_EQ(selectors(),
              (std::vector<std::string>{kSelectorAITrackToolCursor, kSelectorAIToolMouseDown, kSelectorAIToolMouseUp}));
    EXPECT_EQ(log[0].tool, tracking);
    EXPECT_EQ(log[0].cursor.h, 10.0f);
    EXPECT_EQ(log[0].event.modifiers, shiftKey | controlKey);
    EXPECT_EQ(log[0].event.where.h, 420);
    EXPECT_EQ(log[0].event.where.v, 260);
    for (const Received& message : {log[1], log[2]}) {
        EXPECT_EQ(message.cursor.v, 4.0f);
        EXPECT_EQ(message.event.modifiers, optionKey);
    }
    EXPECT_LT(log[1].event.when, log[2].event.when);
    EXPECT_THROW(host.move({kNaN, 0.0f}, 0), host::HostError);

    // A tool that did not ask to track the cursor hears only the clicks.
    host.selectTool("Quiet Tool");
    log.clear();
    host.move({1.0f, 1.0f}, 0);
    host.click({1.0f, 1.0f}, 0);
    EXPECT_EQ(selectors(), (std::vector<std::string>{kSelectorAIToolMouseDown, kSelectorAIToolMouseUp}));
}

TEST_F(ViewTool, KeysGoToTheSelectedToolWhichSaysWhetherItUsedThem) {
    AIToolHandle typing = addTool("Typing Tool");
    host.selectTool("Typing Tool");

    EXPECT_FALSE(host.key('7', shiftKey));
    useKeys = true;
    EXPECT_TRUE(host.key(kAIReturnKey, 0));
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].tool, typing);
    EXPECT_EQ(keys[0].character, static_cast<ASUInt32>('7'));
    EXPECT_EQ(keys[0].modifiers, shiftKey);
    EXPECT_EQ(keys[1].character, kAIReturnKey);

    // The host's own tool takes no keys: they stay the host's.
    host.deselect();
    EXPECT_FALSE(host.key('7', 0));
    EXPECT_EQ(keys.size(), 2u);
}

TEST_F(ViewTool, RegistrationThroughTheSuite) {
    const auto* icons = acquire<ADMIconSuite>(host, kADMIconSuite, kADMIconSuiteVersion2);
    ADMIconRef icon = icons->GetFromResource(host.plugins().ref(0), nullptr, 1017, 0);
    ADMIconRef rollover = icons->GetFromResource(host.plugins().ref(0), nullptr, 1018, 0);
    AIAddToolData data{"Pen", "Pen tip", 0, icon, kNoTool, kNoTool};
    AIToolHandle pen = nullptr;
    ASSERT_EQ(toolSuite->AddTool(host.plugins().ref(0), "Pen Tool", &data, 0, &pen), kNoErr);
    EXPECT_EQ(toolSuite->SetToolRolloverIcon(pen, rollover), kNoErr);
    icons->Destroy(icon);  // the tool keeps the resource ID, not the icon

    AIToolHandle again = nullptr;
    EXPECT_EQ(toolSuite->AddTool(host.plugins().ref(0), "Other Tool", &data, 0, &again), kBadHandleErr);
    data.icon = nullptr;
    EXPECT_EQ(toolSuite->AddTool(host.plugins().ref(0), "Pen Tool", &data, 0, &again), kBadParameterErr);
    EXPECT_EQ(again, nullptr);
    data.sameGroupAs = 99;
    EXPECT_EQ(toolSuite->AddTool(host.plugins().ref(0), "Stray Tool", &data, 0, &again), kOutOfRangeErr);

    AIToolType number = -1;
    ASSERT_EQ(toolSuite->GetToolNumberFromName("Pen Tool", &number), kNoErr);
    data = {"Brush", "Brush tip", 0, nullptr, number, kNoTool};
    AIToolHandle brush = nullptr;
    ASSERT_EQ(toolSuite->AddTool(host.plugins().ref(0), "Brush Tool", &data, 0, &brush), kNoErr);
    EXPECT_EQ(toolSuite->GetToolNumberFromName(host::Tools::kSelectionToolName, &number), kNoErr);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(toolSuite->GetToolNumberFromName("Brush Tool", &number), kNoErr);
    EXPECT_EQ(number, 2);
    EXPECT_EQ(toolSuite->GetToolNumberFromName("Varnel Tool", &number), kNameNotFoundErr);
    EXPECT_EQ(toolSuite->SetToolRolloverIcon(brush, icon), kBadHandleErr);

    nlohmann::json tools = host.dumpHost()["tools"];
    EXPECT_EQ(tools, nlohmann::json::parse(R"([
        {"name": "Pen Tool", "title": "Pen", "tooltip": "Pen tip", "group": -2, "toolset": -2, "icons": [1017, 1018]},
        {"name": "Brush Tool", "title": "Brush", "tooltip": "Brush tip", "group": 1, "toolset": -2, "icons": []}])"));
}

// The bundle as built: its icons load, what it lacks still gives an icon, of unknown type.
TEST(Icons, LoadFromTheBundle) {
    host::SuiteRegistry registry;
    host::BlockAllocator memory;
    host::Plugins plugins(registry, memory);
    plugins.loadFolder(ORVANE_PLUGINS_DIR);
    host::Icons icons(plugins);
    icons.registerSuites(registry);
    const void* table = nullptr;
    ASSERT_EQ(registry.acquire(kADMIconSuite, kADMIconSuiteVersion1, &table), kNoErr);
    const auto* suite = static_cast<const ADMIconSuite*>(table);

    ADMIconRef found = suite->GetFromResource(plugins.ref(0), nullptr, 1017, 0);
    EXPECT_EQ(suite->GetType(found), kADMPictureIconType);
    ADMIconRef missing = suite->GetFromResource(plugins.ref(0), nullptr, 4242, 0);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(suite->GetType(missing), kADMUnknownIconType);
    EXPECT_EQ(suite->GetType(suite->GetFromResource(plugins.ref(7), "x", 1017, 0)), kADMUnknownIconType);

    suite->Destroy(found);
    EXPECT_EQ(suite->GetType(found), kADMUnknownIconType);
    suite->Destroy(found);
    suite->Destroy(reinterpret_cast<ADMIconRef>(0x99));
    EXPECT_EQ(icons.find(missing)->resourceID, 4242);

    // Every cursor the tool shows is in the bundle, with its hotspot inside the image.
    const host::Bundle& bundle = plugins.bundle(0);
    for (int id = 1101; id <= 1108; ++id) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(bundle.image("cursors", id));
        const nlohmann::json& hotspot = bundle.resourceTable()["cursors"][std::to_string(id)]["hotspot"];
        ASSERT_EQ(hotspot.size(), 2u);
        for (const auto& coordinate : hotspot) {
            EXPECT_GE(coordinate.get<int>(), 0);
            EXPECT_LT(coordinate.get<int>(), 32);
        }
    }
}

}  // namespace
