// Random sessions against the real module. The input is decoded into a person's
// actions at the host — start, tool choice, movements and clicks with any
// modifiers near the art, typing into the panel, menu choices, dialog actions,
// art deleted, locked or drawn, undo and redo, unload and reload, quit — each
// played through the host into PluginMain. After every action the fuzzer checks
// what must always hold:
//   - every coordinate in the document is a finite number;
//   - while a polyline is under way and its path is alive, the path has as many
//     anchors as the tool counts;
//   - a handle the document gave out and then disposed of never finds art again;
// and at the end, once the host quit, every suite acquired has been released
// and every block the plug-in allocated has been freed.
// The host refusing an action (HostError, std::invalid_argument) is a normal
// outcome; any other exception, a crash or a sanitizer report is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "ModuleImage.h"
#include "OrvanePlugIn.h"
#include "PluginFacts.h"
#include "host/Host.h"

namespace {

constexpr const char* kModule = ORVANE_PLUGINS_DIR "/Orvane.aip/Orvane.so";
constexpr const char* kTool = "Orvane Tool";
constexpr int kMaxEvents = 300;

// The panel's fields.
constexpr ASInt32 kLengthField = 1;
constexpr ASInt32 kAngleField = 3;

// Art the document starts with: a triangle, two crossing lines, a circle, an open curve.
constexpr const char* kStartingArt[] = {
    "M0 0 L200 0 L100 150 Z",
    "M-100 -50 L300 200",
    "M-100 200 L300 -50",
    "M400 0 A80 80 0 1 0 560 0 A80 80 0 1 0 400 0",
    "M0 300 C50 350 150 250 200 300",
};

// The settings the plug-in keeps, which a session may find in the store at start.
struct StoredKey {
    const char* prefix;
    const char* key;
};
constexpr StoredKey kStoredKeys[] = {
    {"TeskOrvane", "EchelleNum"},          {"TeskOrvane", "EchelleDen"},     {"TeskOrvane", "EchelleNumPersoReal"},
    {"TeskOrvane", "EchelleDenPersoReal"}, {"TeskOrvane", "Precision"},      {"TeskOrvane", "TailleAnnos"},
    {"TeskOrvane", "CtrlLongueur"},        {"TeskOrvane", "CtrlAngle"},      {"TeskOrvane", "ShiftAltInverse"},
    {"TeskOrvane", "PanneauVisible"},      {"Orvane", "kADM_DPDockCodeStr"},
};

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
    std::abort();
}

fuzz::ModuleImage& module() {
    static fuzz::ModuleImage image(kModule);
    return image;
}

class Player {
public:
    explicit Player(FuzzedDataProvider& data)
        : data_(data), host_(host::Host::Options{ORVANE_PLUGINS_DIR, std::nullopt, [](const std::string&) {}}) {
        for (const char* art : kStartingArt) host_.document().addSvgPath(art);
        observer_ = host_.document().addObserver([this](AIArtHandle art, host::Document::Change change) {
            if (disposed_.count(art)) fail("disposed art was changed again");
            if (change == host::Document::Change::removed) disposed_.insert(art);
        });
        host_.setModalEventSource([this] { return events_ < kMaxEvents && data_.remaining_bytes() > 0 && act(true); });
    }

    ~Player() { host_.document().removeObserver(observer_); }

    void play() {
        while (!quit_ && events_ < kMaxEvents && data_.remaining_bytes() > 0) act(false);
        if (host_.started() && !quit_) refused([&] { host_.quit(); });
        check("the end");
        if (quit_ || host_.started() == false) {
            if (host_.suites().outstandingTotal() != 0)
                fail(std::to_string(host_.suites().outstandingTotal()) + " suites still acquired after quitting");
            if (host_.memory().liveBlocks() != 0)
                fail(std::to_string(host_.memory().liveBlocks()) + " blocks still allocated after quitting");
        }
    }

private:
    enum Event {
        Start,
        SetPref,
        SelectTool,
        Deselect,
        EditTool,
        Move,
        Click,
        PanelType,
        PanelOther,
        Menu,
        DialogAction,
        DeleteArt,
        LockArt,
        DrawArt,
        Undo,
        Redo,
        Unload,
        Reload,
        Zoom,
        Quit,
        kEventCount
    };

    /// Plays one event; always true, so that a modal run goes on while the input lasts.
    bool act(bool insideModal) {
        ++events_;
        auto event = static_cast<Event>(data_.ConsumeIntegralInRange<int>(0, kEventCount - 1));
        // Inside a modal run most actions belong to the dialog; the others must be refused cleanly.
        if (insideModal && data_.ConsumeIntegralInRange<int>(0, 3) != 0) event = DialogAction;
        switch (event) {
            case Start:
                refused([&] { host_.start(); });
                break;
            case SetPref:
                setPref();
                break;
            case SelectTool:
                refused([&] { host_.selectTool(kTool); });
                break;
            case Deselect:
                refused([&] { host_.deselect(); });
                break;
            case EditTool:
                refused([&] { host_.editTool(); });
                break;
            case Move: {
                AIRealPoint point = cursor();
                ASUInt16 keys = modifiers();
                refused([&] { host_.move(point, keys); });
                break;
            }
            case Click: {
                AIRealPoint point = cursor();
                ASUInt16 keys = modifiers();
                refused([&] { host_.click(point, keys); });
                break;
            }
            case PanelType:
                typeIntoPanel();
                break;
            case PanelOther:
                panelAction();
                break;
            case Menu:
                chooseMenu();
                break;
            case DialogAction:
                dialogAction();
                break;
            case DeleteArt:
                editArt([](host::Document& document, AIArtHandle art) { document.disposeArt(art); });
                break;
            case LockArt: {
                bool lock = data_.ConsumeBool();
                editArt([lock](host::Document& document, AIArtHandle art) { document.setLocked(art, lock); });
                break;
            }
            case DrawArt:
                drawArt();
                break;
            case Undo:
                refused([&] { host_.undo(); });
                break;
            case Redo:
                refused([&] { host_.redo(); });
                break;
            case Unload:
                refused([&] { host_.unload(); });
                break;
            case Reload:
                refused([&] { host_.reload(); });
                break;
            case Zoom: {
                float zoom = data_.ConsumeFloatingPointInRange<float>(0.01f, 64.0f);
                refused([&] { host_.views().setZoom(zoom); });
                break;
            }
            case Quit:
                if (insideModal) {
                    refused([&] { host_.quit(); });
                } else if (host_.started()) {
                    refused([&] { host_.quit(); });
                    quit_ = !host_.started();
                }
                break;
            case kEventCount:
                break;
        }
        check(insideModal ? "an action inside a modal run" : "an action");
        return true;
    }

    /// Runs an action the host may refuse.
    template <class F>
    void refused(F&& action) {
        try {
            action();
        } catch (const host::HostError&) {
        } catch (const std::invalid_argument&) {
        }
    }

    /// The tool of the running plug-in object, which the host keeps in the module's globals
    /// slot from start-up to shutdown; null while there is none. The fuzzer's folder holds
    /// this one module, built with the same compiler and headers as the fuzzer.
    const PolylineTool* polylineTool() {
        for (std::size_t i = 0; i < host_.plugins().count(); ++i)
            if (void* globals = host_.plugins().bundle(i).globals())
                return &static_cast<const OrvanePlugIn*>(static_cast<Plugin*>(globals))->tool();
        return nullptr;
    }

    void check(const char* after) {
        const host::Document& document = host_.document();
        document.forEachArt([&](AIArtHandle, const host::Document::Art& art) {
            for (const AIPathSegment& segment : art.shape.segments)
                if (!host::isFinite(segment)) fail(std::string("a coordinate is not finite after ") + after);
        });
        if (const PolylineTool* tool = polylineTool(); tool && tool->pointsPlaced() >= 2) {
            if (const host::Document::Art* art = document.findArt(tool->path());
                art && art->shape.segments.size() != static_cast<std::size_t>(tool->pointsPlaced()))
                fail("the polyline's path has " + std::to_string(art->shape.segments.size()) +
                     " anchors where the tool counts " + std::to_string(tool->pointsPlaced()) + " after " + after);
        }
        for (AIArtHandle art : disposed_)
            if (document.findArt(art)) fail(std::string("a disposed handle finds art after ") + after);
    }

    std::vector<AIArtHandle> art() const {
        std::vector<AIArtHandle> all;
        host_.document().forEachArt([&](AIArtHandle handle, const host::Document::Art&) { all.push_back(handle); });
        return all;
    }

    /// Mostly near an anchor, or a turn and a length from the last point, sometimes anywhere at all.
    AIRealPoint cursor() {
        switch (data_.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: {
                std::vector<AIArtHandle> all = art();
                if (all.empty()) break;
                const host::Document::Art* chosen = host_.document().findArt(all[pick(all.size())]);
                const auto& segments = chosen->shape.segments;
                if (segments.empty()) break;
                AIRealPoint anchor = segments[pick(segments.size())].p;
                last_ = {anchor.h + data_.ConsumeIntegral<std::int8_t>() / 8.0f,
                         anchor.v + data_.ConsumeIntegral<std::int8_t>() / 8.0f};
                return last_;
            }
            case 1: {
                float length = data_.ConsumeIntegralInRange<int>(0, 800) / 2.0f;
                float angle = data_.ConsumeIntegral<std::uint8_t>() * 6.2831855f / 256.0f;
                last_ = {last_.h + length * std::cos(angle), last_.v + length * std::sin(angle)};
                return last_;
            }
            case 2: {
                // Anywhere a float can say, the values a broken device or computation gives included.
                static constexpr float kOdd[] = {NAN, INFINITY, -INFINITY, 3.4e38f, -0.0f, 1e-40f};
                auto coordinate = [&] {
                    return data_.ConsumeIntegralInRange<int>(0, 7) == 0 ? kOdd[pick(std::size(kOdd))]
                                                                        : data_.ConsumeFloatingPoint<float>();
                };
                float h = coordinate();
                return {h, coordinate()};
            }
            default:
                break;
        }
        last_ = {static_cast<float>(data_.ConsumeIntegralInRange<int>(-200, 700)),
                 static_cast<float>(data_.ConsumeIntegralInRange<int>(-200, 500))};
        return last_;
    }

    ASUInt16 modifiers() {
        auto bits = data_.ConsumeIntegralInRange<int>(0, 7);
        return static_cast<ASUInt16>(((bits & 1) ? shiftKey : 0) | ((bits & 2) ? optionKey : 0) |
                                     ((bits & 4) ? controlKey : 0));
    }

    std::size_t pick(std::size_t count) { return data_.ConsumeIntegralInRange<std::size_t>(0, count - 1); }

    /// Mostly what a person types into a number field; sometimes any bytes.
    std::string text() {
        if (data_.ConsumeBool()) return data_.ConsumeRandomLengthString(16);
        static constexpr char kTyped[] = "0123456789.,-+e ";
        std::string typed(data_.ConsumeIntegralInRange<std::size_t>(0, 8), ' ');
        for (char& c : typed) c = kTyped[pick(sizeof kTyped - 1)];
        return typed;
    }

    void setPref() {
        const StoredKey& stored = kStoredKeys[pick(std::size(kStoredKeys))];
        host::PreferenceStore::Value value;
        switch (data_.ConsumeIntegralInRange<int>(0, 2)) {
            case 0:
                value = data_.ConsumeBool();
                break;
            case 1:
                value = data_.ConsumeIntegral<std::int32_t>();
                break;
            default:
                value = data_.ConsumeFloatingPoint<double>();
                break;
        }
        refused([&] { host_.preferences().put(stored.prefix, stored.key, value); });
    }

    void typeIntoPanel() {
        ADMDialogRef panel = plugin_facts::panelOf(host_.dialogs());
        if (!panel) return;
        ASInt32 field = data_.ConsumeBool() ? kLengthField : kAngleField;
        std::string typed = text();
        refused([&] { host_.typeIntoItem(panel, field, typed); });
    }

    void panelAction() {
        ADMDialogRef panel = plugin_facts::panelOf(host_.dialogs());
        if (!panel) return;
        switch (data_.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: {
                ASInt32 index = data_.ConsumeIntegralInRange<ASInt32>(-1, 12);
                refused([&] { host_.chooseDialogMenu(panel, index); });
                break;
            }
            case 1:
                refused([&] { host_.closeDialog(panel); });
                break;
            default:
                itemAction(panel);
                break;
        }
    }

    void chooseMenu() {
        refused([&] { host_.updateMenus(); });
        std::vector<std::string> commands;
        const host::Menus& menus = host_.menus();
        for (AIMenuGroup group : menus.groups())
            for (AIMenuItemHandle handle : menus.itemsOf(group))
                if (const host::Menus::Item* item = menus.item(handle); item && !item->submenu)
                    commands.push_back(item->text);
        if (commands.empty()) return;
        std::string command = commands[pick(commands.size())];
        refused([&] { host_.chooseMenuItem(command); });
    }

    void dialogAction() {
        ADMDialogRef dialog = host_.modalDialog();
        if (!dialog) dialog = plugin_facts::panelOf(host_.dialogs());
        if (dialog) itemAction(dialog);
    }

    /// A person at one of the dialog's items.
    void itemAction(ADMDialogRef dialog) {
        const host::DialogManager::Dialog* shown = host_.dialogs().dialog(dialog);
        if (!shown || shown->items.empty()) return;
        const host::DialogManager::Item* item = host_.dialogs().item(shown->items[pick(shown->items.size())]);
        if (!item) return;
        ASInt32 id = item->id;
        switch (data_.ConsumeIntegralInRange<int>(0, 4)) {
            case 0: {
                std::string typed = text();
                refused([&] { host_.typeIntoItem(dialog, id, typed); });
                break;
            }
            case 1: {
                ASInt32 position = data_.ConsumeIntegralInRange<ASInt32>(-1, 40);
                refused([&] { host_.pickEntry(dialog, id, position); });
                break;
            }
            case 2: {
                bool up = data_.ConsumeBool(), large = data_.ConsumeBool();
                refused([&] { host_.stepItem(dialog, id, up, large); });
                break;
            }
            case 3: {
                ASInt32 from = data_.ConsumeIntegralInRange<ASInt32>(-20, 300);
                ASInt32 to = data_.ConsumeIntegralInRange<ASInt32>(-20, 300);
                refused([&] { host_.dragItem(dialog, id, from, to); });
                break;
            }
            default:
                refused([&] { host_.clickItem(dialog, id); });
                break;
        }
    }

    template <class Change>
    void editArt(Change change) {
        std::vector<AIArtHandle> all = art();
        if (all.empty()) return;
        AIArtHandle chosen = all[pick(all.size())];
        // Now and then a handle that is gone, which the document must refuse.
        if (!disposed_.empty() && data_.ConsumeIntegralInRange<int>(0, 7) == 0) chosen = *disposed_.begin();
        refused([&] { host_.edit([&](host::Document& document) { change(document, chosen); }); });
    }

    void drawArt() {
        host::PathShape shape;
        std::size_t count = data_.ConsumeIntegralInRange<std::size_t>(1, 6);
        for (std::size_t i = 0; i < count; ++i) {
            AIRealPoint p = cursor();
            shape.segments.push_back({p, p, p, true});
        }
        shape.closed = data_.ConsumeBool();
        refused([&] { host_.edit([&](host::Document& document) { document.addPath(std::move(shape)); }); });
    }

    FuzzedDataProvider& data_;
    host::Host host_;
    int observer_ = 0;
    std::set<AIArtHandle> disposed_;
    AIRealPoint last_{0, 0};
    int events_ = 0;
    bool quit_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Loaded before any input, so that the data it keeps is the module's as loaded.
    module();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    module().restore();
    FuzzedDataProvider data(bytes, size);
    Player(data).play();
    return 0;
}
