#include "Session.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "Lexer.h"
#include "PluginFacts.h"
#include "host/text/MacRoman.h"
#include "host/view/FrameRenderer.h"

namespace replay {

namespace {

/// Numbers in a dump and in a check are equal when they differ by less than this,
/// relative to their size: dumps carry floats to nine significant digits.
constexpr double kTolerance = 1e-6;

bool sameJson(const nlohmann::json& a, const nlohmann::json& b) {
    if (a.is_number() && b.is_number()) {
        double x = a.get<double>();
        double y = b.get<double>();
        return std::fabs(x - y) <= kTolerance * std::max({1.0, std::fabs(x), std::fabs(y)});
    }
    if (a.is_array() && b.is_array()) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!sameJson(a[i], b[i])) return false;
        return true;
    }
    if (a.is_object() && b.is_object()) {
        if (a.size() != b.size()) return false;
        for (auto it = a.begin(); it != a.end(); ++it)
            if (!b.contains(it.key()) || !sameJson(it.value(), b[it.key()])) return false;
        return true;
    }
    return a == b;
}

/// A check's value: JSON when it reads as JSON, else the text itself.
nlohmann::json expectedValue(const std::string& token) {
    nlohmann::json value = nlohmann::json::parse(token, nullptr, false);
    return value.is_discarded() ? nlohmann::json(token) : value;
}

host::PreferenceStore::Value preferenceValue(const std::string& kind, const std::string& text) {
    if (kind == "bool") {
        if (text == "true") return true;
        if (text == "false") return false;
        throw SessionError("a bool is true or false, not \"" + text + "\"");
    }
    if (kind == "int") {
        long value = integer(text, "an int preference");
        if (value < INT32_MIN || value > INT32_MAX) throw SessionError("the int " + text + " is out of 32-bit range");
        return static_cast<std::int32_t>(value);
    }
    if (kind == "real") return number(text, "a real preference");
    throw SessionError("unknown preference kind \"" + kind + "\" (bool, int or real)");
}

/// The tool that select, tool edit, move and click act with.
using plugin_facts::kToolName;

/// The commands that can be played while a modal dialog is open.
const std::set<std::string> kModalCommands = {"dialog", "dump", "expect", "frame"};

using plugin_facts::kAngleField;
using plugin_facts::kLengthField;

/// A number of a session line as the host's 32-bit float.
AIReal real(const std::string& token, const char* what) {
    double value = number(token, what);
    if (std::fabs(value) > FLT_MAX) throw SessionError("\"" + token + "\" is out of range (" + what + ")");
    return static_cast<AIReal>(value);
}

/// The modifier keys named after the coordinates of move and click, in any order.
ASUInt16 modifierKeys(const std::vector<std::string>& args, std::size_t first) {
    ASUInt16 keys = 0;
    for (std::size_t i = first; i < args.size(); ++i) {
        ASUInt16 key = args[i] == "shift"  ? shiftKey
                       : args[i] == "alt"  ? optionKey
                       : args[i] == "ctrl" ? controlKey
                                           : 0;
        if (key == 0) throw SessionError("unknown modifier \"" + args[i] + "\" (shift, alt or ctrl)");
        if (keys & key) throw SessionError("the modifier " + args[i] + " is given twice");
        keys |= key;
    }
    return keys;
}

/// The keys named by the key command; any other key is a single character.
const std::map<std::string, ASUInt32> kNamedKeys = {{"return", kAIReturnKey},
                                                    {"escape", kAIEscapeKey},
                                                    {"backspace", kAIBackspaceKey},
                                                    {"delete", kAIDeleteKey},
                                                    {"tab", kAITabKey}};

/// The characters of UTF-8 text, as the keys that type them.
std::vector<ASUInt32> typedCharacters(const std::string& text) {
    std::u16string units;
    try {
        units = host::utf8ToUtf16(text);
    } catch (const std::invalid_argument&) {
        throw SessionError("the text to type is not UTF-8");
    }
    std::vector<ASUInt32> characters;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const ASUInt32 unit = units[i];
        // Valid UTF-8 gives a high surrogate only with its low one.
        if (unit >= 0xD800 && unit < 0xDC00) {
            characters.push_back(0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else {
            characters.push_back(unit);
        }
    }
    return characters;
}

/// NAME of the key command: a named key or one character.
ASUInt32 keyNamed(const std::string& name) {
    auto named = kNamedKeys.find(name);
    if (named != kNamedKeys.end()) return named->second;
    const std::vector<ASUInt32> characters = typedCharacters(name);
    if (characters.size() != 1)
        throw SessionError("unknown key \"" + name + "\" (return, escape, backspace, delete, tab or one character)");
    return characters[0];
}

AIRealPoint cursorPoint(const std::vector<std::string>& args) {
    return {real(args[0], "h"), real(args[1], "v")};
}

/// The art at a paint-order index of the current layer: 0 the bottom, -1 the top.
AIArtHandle artAt(const host::Document& document, const std::string& token) {
    long index = integer(token, "art index");
    AIArtHandle art = document.artAt(index);
    if (!art) {
        std::size_t count = document.findLayer(document.currentLayer())->art.size();
        throw SessionError("no art at index " + token + ": the current layer holds " + std::to_string(count));
    }
    return art;
}

/// The layer at INDEX, 0 the topmost as the layers panel lists them.
AILayerHandle layerAt(const host::Document& document, const std::string& token) {
    long index = integer(token, "layer index");
    if (index < 0 || static_cast<std::size_t>(index) >= document.layerCount())
        throw SessionError("no layer at index " + token + ": the document has " +
                           std::to_string(document.layerCount()));
    return document.layerAt(static_cast<std::size_t>(index));
}

/// One `layer ACTION …` line: what a person does in the layers panel, one step.
void playLayer(host::Host& host, const std::vector<std::string>& a) {
    const std::string& action = a[0];
    auto need = [&](std::size_t count) {
        if (a.size() != count + 1)
            throw SessionError("layer " + action + ": " +
                               (count == 1         ? "INDEX"
                                : action == "name" ? "INDEX NAME"
                                                   : "INDEX TO") +
                               " after the action");
    };
    host.edit([&](host::Document& document) {
        if (action == "add") {
            if (a.size() != 2) throw SessionError("layer add: NAME after the action");
            document.addLayerAboveCurrent(a[1]);
        } else if (action == "current") {
            need(1);
            document.setCurrentLayer(layerAt(document, a[1]));
        } else if (action == "name") {
            need(2);
            document.setLayerName(layerAt(document, a[1]), a[2]);
        } else if (action == "lock" || action == "unlock") {
            need(1);
            document.setLayerLocked(layerAt(document, a[1]), action == "lock");
        } else if (action == "hide" || action == "show") {
            need(1);
            document.setLayerHidden(layerAt(document, a[1]), action == "hide");
        } else if (action == "delete") {
            need(1);
            document.deleteLayer(layerAt(document, a[1]));
        } else if (action == "move") {
            need(2);
            AILayerHandle layer = layerAt(document, a[1]);
            // The place it goes to is the place of the layer there now.
            document.moveLayer(layer, document.layerPosition(layerAt(document, a[2])));
        } else {
            throw SessionError("layer: unknown action \"" + action +
                               "\" (add, current, name, lock, unlock, hide, show, delete, move)");
        }
    });
}

ASInt32 int32(const std::string& token, const char* what) {
    long value = integer(token, what);
    if (value < INT32_MIN || value > INT32_MAX) throw SessionError("\"" + token + "\" is out of range (" + what + ")");
    return static_cast<ASInt32>(value);
}

void wantArguments(const std::vector<std::string>& args, std::size_t count, const std::string& usage) {
    if (args.size() != count) throw SessionError("usage: " + usage);
}

// up|down [large], from the argument at first on: (up, large).
std::pair<bool, bool> stepDirection(const std::vector<std::string>& a, std::size_t first, const std::string& usage) {
    if (a.size() < first + 1 || a.size() > first + 2) throw SessionError("usage: " + usage);
    if (a[first] != "up" && a[first] != "down")
        throw SessionError("\"" + a[first] + "\" is not a direction (up or down)");
    if (a.size() == first + 2 && a[first + 1] != "large")
        throw SessionError("\"" + a[first + 1] + "\" is not a step size (large or nothing)");
    return {a[first] == "up", a.size() == first + 2};
}

// panel length TEXT | angle TEXT | pick length|angle ID | step length|angle up|down [large] | menu INDEX |
// click ITEM | close
void playPanel(host::Host& host, const std::vector<std::string>& a) {
    const std::string& action = a[0];
    std::function<void(ADMDialogRef)> act;
    if (action == "length" || action == "angle") {
        // The text goes to the field as a person types it: the field reads it, or beeps.
        wantArguments(a, 2, "panel length TEXT, panel angle TEXT");
        act = [&](ADMDialogRef panel) {
            host.typeIntoItem(panel, action == "length" ? kLengthField : kAngleField, a[1]);
        };
    } else if (action == "pick") {
        wantArguments(a, 3, "panel pick length|angle ID");
        if (a[1] != "length" && a[1] != "angle")
            throw SessionError("panel pick: unknown field \"" + a[1] + "\" (length or angle)");
        ASInt32 entryID = int32(a[2], "preset ID");
        act = [&, entryID](ADMDialogRef panel) {
            host.pickPreset(panel, a[1] == "length" ? kLengthField : kAngleField, entryID);
        };
    } else if (action == "step") {
        auto direction = stepDirection(a, 2, "panel step length|angle up|down [large]");
        if (a[1] != "length" && a[1] != "angle")
            throw SessionError("panel step: unknown field \"" + a[1] + "\" (length or angle)");
        act = [&, direction](ADMDialogRef panel) {
            auto [up, large] = direction;
            host.stepItem(panel, a[1] == "length" ? kLengthField : kAngleField, up, large);
        };
    } else if (action == "menu") {
        wantArguments(a, 2, "panel menu INDEX");
        ASInt32 index = int32(a[1], "menu index");
        act = [&, index](ADMDialogRef panel) { host.chooseDialogMenu(panel, index); };
    } else if (action == "click") {
        wantArguments(a, 2, "panel click ITEM");
        ASInt32 item = int32(a[1], "item");
        act = [&, item](ADMDialogRef panel) { host.clickItem(panel, item); };
    } else if (action == "close") {
        wantArguments(a, 1, "panel close");
        act = [&](ADMDialogRef panel) { host.closeDialog(panel); };
    } else {
        throw SessionError("panel: unknown action \"" + action + "\" (length, angle, pick, step, menu, click, close)");
    }
    ADMDialogRef panel = plugin_facts::panelOf(host.dialogs());
    if (!panel) throw SessionError("panel: the plug-in has no panel");
    act(panel);
}

// dialog set ITEM TEXT | pick ITEM POSITION | step ITEM up|down [large] | click ITEM | drag ITEM H0 H1 |
// escape, in the innermost modal dialog
void playDialog(host::Host& host, const std::vector<std::string>& a) {
    const std::string& action = a[0];
    if (action == "escape") {
        wantArguments(a, 1, "dialog escape");
        if (!host.modalDialog()) throw SessionError("dialog: no modal dialog is open");
        host.dismissDialog(host.modalDialog());
        return;
    }
    std::function<void(ADMDialogRef, ASInt32)> act;
    if (action == "set") {
        wantArguments(a, 3, "dialog set ITEM TEXT");
        act = [&](ADMDialogRef dialog, ASInt32 item) { host.typeIntoItem(dialog, item, a[2]); };
    } else if (action == "pick") {
        wantArguments(a, 3, "dialog pick ITEM POSITION");
        ASInt32 position = int32(a[2], "position");
        act = [&, position](ADMDialogRef dialog, ASInt32 item) { host.pickEntry(dialog, item, position); };
    } else if (action == "step") {
        auto direction = stepDirection(a, 2, "dialog step ITEM up|down [large]");
        act = [&, direction](ADMDialogRef dialog, ASInt32 item) {
            auto [up, large] = direction;
            host.stepItem(dialog, item, up, large);
        };
    } else if (action == "click") {
        wantArguments(a, 2, "dialog click ITEM");
        act = [&](ADMDialogRef dialog, ASInt32 item) { host.clickItem(dialog, item); };
    } else if (action == "drag") {
        wantArguments(a, 4, "dialog drag ITEM H0 H1");
        ASInt32 h0 = int32(a[2], "h0");
        ASInt32 h1 = int32(a[3], "h1");
        act = [&, h0, h1](ADMDialogRef dialog, ASInt32 item) { host.dragItem(dialog, item, h0, h1); };
    } else {
        throw SessionError("dialog: unknown action \"" + action + "\" (set, pick, step, click, drag, escape)");
    }
    ASInt32 item = int32(a[1], "item");
    ADMDialogRef dialog = host.modalDialog();
    if (!dialog) throw SessionError("dialog: no modal dialog is open");
    act(dialog, item);
}

ASUInt16 colorComponent(const std::string& token) {
    long value = integer(token, "colour component");
    if (value < 0 || value > UINT16_MAX) throw SessionError("a colour component runs from 0 to 65535, not " + token);
    return static_cast<ASUInt16>(value);
}

}  // namespace

double number(const std::string& token, const char* what) {
    double value = 0;
    auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(value))
        throw SessionError(std::string("\"") + token + "\" is not a number (" + what + ")");
    return value;
}

long integer(const std::string& token, const char* what) {
    long value = 0;
    auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size())
        throw SessionError(std::string("\"") + token + "\" is not a whole number (" + what + ")");
    return value;
}

Session::Session(const Options& options, std::ostream& out) : resolveFile_(options.resolveFile), out_(out) {
    // Compared as the real folders they are, links followed, so that no link leads a write out.
    writableFolders_.push_back(std::filesystem::weakly_canonical(std::filesystem::current_path()));
    for (const std::filesystem::path& folder : options.writableFolders)
        writableFolders_.push_back(std::filesystem::weakly_canonical(std::filesystem::absolute(folder)));
    try {
        host_ = std::make_unique<host::Host>(host::Host::Options{options.pluginsDir, options.prefsFile, {}});
    } catch (const std::exception& error) {
        throw SessionError(error.what());
    }
    addCommands();
    host_->setModalEventSource([this] { return playInsideModal(); });
}

Session::~Session() = default;

void Session::play(std::istream& in, const std::string& name) {
    in_ = &in;
    name_ = name;
    line_ = 0;
    std::string line;
    while (std::getline(*in_, line)) {
        ++line_;
        playLine(line, false);
    }
}

bool Session::playLine(const std::string& line, bool insideModal) {
    try {
        Args tokens = tokenize(line);
        if (tokens.empty()) return false;
        if (insideModal && !kModalCommands.contains(tokens[0]))
            throw SessionError("\"" + tokens[0] + "\" can't be played while the modal dialog \"" +
                               host().dialogs().titleOf(host().modalDialog()) + "\" is open");
        run(tokens);
        // A modal run's error is thrown once the plug-in's message has returned, whatever the command.
        if (!insideModal) host().dialogs().throwPendingError();
        return true;
    } catch (const LocatedError&) {
        throw;
    } catch (const std::exception& error) {
        throw located(error.what());
    }
}

// What it throws reaches play() through the host, once the plug-in's frames are left.
bool Session::playInsideModal() {
    if (!in_) return false;
    std::string line;
    while (std::getline(*in_, line)) {
        ++line_;
        if (playLine(line, true)) return true;
    }
    throw located("the session ends inside the modal dialog \"" + host().dialogs().titleOf(host().modalDialog()) +
                  "\"");
}

LocatedError Session::located(const std::string& what) const {
    return LocatedError(name_ + ":" + std::to_string(line_) + ": " + what);
}

void Session::run(const Args& tokens) {
    auto found = commands_.find(tokens[0]);
    if (found == commands_.end()) throw SessionError("unknown command \"" + tokens[0] + "\"");
    Args args(tokens.begin() + 1, tokens.end());
    const Command& command = found->second;
    if (args.size() < command.minArgs) throw SessionError(tokens[0] + ": missing argument");
    if (args.size() > command.maxArgs) throw SessionError(tokens[0] + ": too many arguments");
    command.handler(args);
}

void Session::add(const std::string& name, std::size_t minArgs, std::size_t maxArgs, Handler handler) {
    commands_[name] = {minArgs, maxArgs, std::move(handler)};
}

void Session::addCommands() {
    add("screen", 2, 2, [this](const Args& a) {
        long width = integer(a[0], "screen width");
        long height = integer(a[1], "screen height");
        if (width <= 0 || height <= 0 || width > INT16_MAX || height > INT16_MAX)
            throw SessionError("screen size out of range (1 to 32767)");
        host().basic().setScreen(static_cast<int>(width), static_cast<int>(height));
    });
    add("pref", 4, 4, [this](const Args& a) { host().preferences().put(a[0], a[1], preferenceValue(a[2], a[3])); });
    add("unpref", 2, 2, [this](const Args& a) { host().preferences().remove(a[0], a[1]); });
    add("refuse-suite", 1, 1, [this](const Args& a) { host().suites().refuse(a[0]); });
    add("fail-alloc", 1, 1, [this](const Args& a) {
        long nth = integer(a[0], "allocation number");
        if (nth < 1) throw SessionError("fail-alloc counts from 1 (the next allocation)");
        host().memory().failAllocation(nth);
    });
    add("start", 0, 0, [this](const Args&) { host().start(); });
    add("send", 2, 2, [this](const Args& a) { host().send(a[0], a[1]); });
    add("unload", 0, 0, [this](const Args&) { host().unload(); });
    add("reload", 0, 0, [this](const Args&) { host().reload(); });
    add("quit", 0, 0, [this](const Args&) { host().quit(); });
    add("view", 1, 3, [this](const Args& a) {
        if (a[0] == "size") {
            if (a.size() != 3) throw SessionError("usage: view size W H");
            long width = integer(a[1], "view width");
            long height = integer(a[2], "view height");
            if (width <= 0 || height <= 0 || width > INT16_MAX || height > INT16_MAX)
                throw SessionError("view size out of range (1 to 32767)");
            host().views().setSize(static_cast<int>(width), static_cast<int>(height));
            host().afterEvent();
            return;
        }
        if (a.size() == 2) throw SessionError("view: ZOOM, or ZOOM H V");
        AIReal zoom = real(a[0], "zoom");
        AIRealPoint center = a.size() == 3 ? AIRealPoint{real(a[1], "h"), real(a[2], "v")} : AIRealPoint{0.0f, 0.0f};
        host().views().setZoom(zoom);
        host().views().setCenter(center);
        host().afterEvent();
    });
    add("select", 0, 0, [this](const Args&) { host().selectTool(kToolName); });
    add("deselect", 0, 0, [this](const Args&) { host().deselect(); });
    add("tool", 1, 1, [this](const Args& a) {
        if (a[0] != "edit") throw SessionError("tool: unknown action \"" + a[0] + "\" (edit)");
        // A double-click on the tool's icon: the first click selects the tool.
        host().selectTool(kToolName);
        host().editTool();
    });
    add("menu", 1, 1, [this](const Args& a) { host().chooseMenuItem(a[0]); });
    add("panel", 1, 4, [this](const Args& a) { playPanel(host(), a); });
    add("dialog", 1, 4, [this](const Args& a) { playDialog(host(), a); });
    add("move", 2, 5, [this](const Args& a) { host().move(cursorPoint(a), modifierKeys(a, 2)); });
    add("click", 2, 5, [this](const Args& a) { host().click(cursorPoint(a), modifierKeys(a, 2)); });
    add("key", 1, 4, [this](const Args& a) { host().key(keyNamed(a[0]), modifierKeys(a, 1)); });
    add("type", 1, 1, [this](const Args& a) {
        for (ASUInt32 character : typedCharacters(a[0])) host().key(character, 0);
    });
    // Each document command is one step of the history.
    add("path", 1, 1, [this](const Args& a) {
        host::History::Group step(host().history());
        host().document().addSvgPath(a[0]);
    });
    add("new", 0, 0, [this](const Args&) { host().newDocument(); });
    add("delete", 1, SIZE_MAX, [this](const Args& a) {
        // Every index names the art as it was before the command: all are found first.
        std::vector<AIArtHandle> art;
        for (const std::string& index : a) art.push_back(artAt(host().document(), index));
        host::History::Group step(host().history());
        for (AIArtHandle each : art)
            if (host().document().findArt(each)) host().document().disposeArt(each);
    });
    add("move-art", 3, SIZE_MAX, [this](const Args& a) {
        AIReal dh = real(a[0], "dh"), dv = real(a[1], "dv");
        // Every index names the art as it was before the command, each once however often it is named.
        std::set<AIArtHandle> art;
        for (std::size_t i = 2; i < a.size(); ++i) art.insert(artAt(host().document(), a[i]));
        host().views().invalidate();
        host().edit([&](host::Document& document) { document.translateArt({art.begin(), art.end()}, dh, dv); });
    });
    add("layer", 2, 3, [this](const Args& a) {
        host().views().invalidate();
        playLayer(host(), a);
    });
    add("move-anchor", 4, 4, [this](const Args& a) {
        host::Document& document = host().document();
        AIArtHandle art = artAt(document, a[0]);
        host::PathShape shape = document.findArt(art)->shape;
        long anchor = integer(a[1], "anchor");
        if (anchor < 0 || anchor >= static_cast<long>(shape.segments.size()))
            throw SessionError("move-anchor: the art has no anchor " + a[1]);
        AIPathSegment& moved = shape.segments[static_cast<std::size_t>(anchor)];
        AIRealPoint to = cursorPoint({a[2], a[3]});
        // The control points go with their anchor.
        for (AIRealPoint* point : {&moved.in, &moved.out}) {
            point->h += to.h - moved.p.h;
            point->v += to.v - moved.p.v;
        }
        moved.p = to;
        host::History::Group step(host().history());
        document.setShape(art, std::move(shape));
    });
    add("lock", 1, 1, [this](const Args& a) {
        host::History::Group step(host().history());
        host().document().setLocked(artAt(host().document(), a[0]), true);
    });
    add("unlock", 1, 1, [this](const Args& a) {
        host::History::Group step(host().history());
        host().document().setLocked(artAt(host().document(), a[0]), false);
    });
    add("undo", 0, 0, [this](const Args&) {
        if (!host().undo()) throw SessionError("undo: nothing to undo");
    });
    add("redo", 0, 0, [this](const Args&) {
        if (!host().redo()) throw SessionError("redo: nothing to redo");
    });
    add("open", 1, 1, [this](const Args& a) {
        warnings_ = host().openSvg(resolve(a[0]));
        for (const host::SvgWarning& warning : warnings_) out_ << a[0] << ": " << host::describe(warning) << "\n";
        out_.flush();
    });
    add("save", 1, 1, [this](const Args& a) { host().saveSvg(resolveWritable(a[0])); });
    add("layercolor", 3, 3, [this](const Args& a) {
        host::Document& document = host().document();
        document.setLayerColor(document.currentLayer(),
                               {colorComponent(a[0]), colorComponent(a[1]), colorComponent(a[2])});
    });
    add("frame", 1, 1, [this](const Args& a) {
        host::FrameRenderer renderer(host().document(), host().views(), host().drawer().metrics());
        renderer.write(resolveWritable(a[0]), host().frame());
    });
    add("dump", 2, 2, [this](const Args& a) { write(dump(a[0]), a[1]); });
    add("expect", 2, 5, [this](const Args& a) { expect(a); });
}

nlohmann::json Session::dump(const std::string& what) const {
    if (what == "prefs") return host_->preferences().dump();
    if (what == "host") return host_->dumpHost();
    if (what == "doc") return host_->document().dump();
    if (what == "frame") return host::toJson(host_->frame());
    if (what == "warnings") {
        nlohmann::json list = nlohmann::json::array();
        for (const host::SvgWarning& warning : warnings_)
            list.push_back({{"element", warning.element}, {"offset", warning.offset}, {"reason", warning.reason}});
        return list;
    }
    throw SessionError("unknown dump \"" + what + "\" (prefs, host, doc, frame, warnings)");
}

void Session::write(const nlohmann::json& value, const std::string& file) const {
    std::string text = value.dump(2) + "\n";
    if (file == "-") {
        out_ << text;
        out_.flush();
        return;
    }
    std::filesystem::path path = resolveWritable(file);
    std::ofstream stream(path, std::ios::binary | std::ios::trunc);
    if (stream) stream << text;
    if (!stream || !stream.flush()) throw SessionError("can't write " + path.string() + ": " + std::strerror(errno));
}

std::filesystem::path Session::resolve(const std::string& name) const {
    return resolveFile_ ? resolveFile_(name) : std::filesystem::path(name);
}

std::filesystem::path Session::resolveWritable(const std::string& name) const {
    std::filesystem::path path = resolve(name);
    std::filesystem::path real = std::filesystem::weakly_canonical(std::filesystem::absolute(path));
    for (const std::filesystem::path& folder : writableFolders_) {
        if (std::mismatch(folder.begin(), folder.end(), real.begin(), real.end()).first == folder.end()) return path;
    }
    throw SessionError("refusing to write " + name +
                       ": it lies outside the working folder (to let the session write there, play it with "
                       "--allow-writes FOLDER)");
}

// expect DUMP POINTER VALUE   the value at the JSON pointer of a dump (POINTER# for its size, / for the whole)
// expect pref PREFIX KEY KIND VALUE / expect no-pref PREFIX KEY
void Session::expect(const Args& a) {
    if (a[0] == "pref" || a[0] == "no-pref") {
        bool present = a[0] == "pref";
        if (a.size() != (present ? 5u : 3u)) throw SessionError("expect " + a[0] + ": wrong number of arguments");
        std::optional<host::PreferenceStore::Value> stored = host_->preferences().get(a[1], a[2]);
        if (!present) {
            if (stored) throw SessionError("expected no preference " + a[1] + "/" + a[2]);
            return;
        }
        host::PreferenceStore::Value wanted = preferenceValue(a[3], a[4]);
        bool same =
            stored && stored->index() == wanted.index() &&
            (std::holds_alternative<double>(wanted) ? sameJson(std::get<double>(*stored), std::get<double>(wanted))
                                                    : *stored == wanted);
        if (!same) {
            nlohmann::json shown = nullptr;
            if (stored) std::visit([&](auto value) { shown = value; }, *stored);
            throw SessionError("expected preference " + a[1] + "/" + a[2] + " = " + a[4] + " (" + a[3] + "), found " +
                               shown.dump());
        }
        return;
    }
    if (a.size() != 3) throw SessionError("expect: DUMP POINTER VALUE");
    std::string pointer = a[1];
    bool size = !pointer.empty() && pointer.back() == '#';
    if (size) pointer.pop_back();
    if (pointer == "/") pointer.clear();  // "/" is the whole dump here, not its key ""
    nlohmann::json document = dump(a[0]);
    nlohmann::json found;
    try {
        found = document.at(nlohmann::json::json_pointer(pointer));
    } catch (const nlohmann::json::exception&) {
        throw SessionError("expected " + a[0] + " " + a[1] + " = " + a[2] + ", but there is no " + pointer);
    }
    if (size) {
        if (!found.is_array() && !found.is_object()) throw SessionError(a[0] + " " + pointer + " has no size");
        found = found.size();
    }
    if (!sameJson(found, expectedValue(a[2])))
        throw SessionError("expected " + a[0] + " " + a[1] + " = " + a[2] + ", found " + found.dump());
}

}  // namespace replay
