// A long session against a large document, played through the host façade and the
// real module: mostly cursor movements, with clicks that place points, close, end
// and shorten polylines or take paths over, modifier combinations, undo and redo,
// the panel, the menus and the dialogs, and art deleted and locked by hand. Every
// so many events it prints the heap in use and the resident set, so that one can
// see the memory level off once the host's history holds as many steps as it keeps.
#include <malloc.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "PluginFacts.h"
#include "RandomDocument.h"
#include "host/Host.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_STRESS_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(ORVANE_STRESS_ASAN)
#define ORVANE_STRESS_ASAN 1
#endif
#ifdef ORVANE_STRESS_ASAN
#if __has_include(<sanitizer/allocator_interface.h>)
#include <sanitizer/allocator_interface.h>
#else
// GCC's packages leave the sanitizers' interface headers out; its runtime has the function all the same.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif
#endif

namespace {

constexpr const char* kToolName = "Orvane Tool";
constexpr const char* kAboutItem = "Tesk•Orvane…";
constexpr const char* kShowPanelItem = "Show Tesk•Orvane";
constexpr const char* kHidePanelItem = "Hide Tesk•Orvane";
constexpr ASInt32 kAboutDialogID = 16500;
// The panel's fields, and its menu's entries by position.
constexpr ASInt32 kLengthField = 1;
constexpr ASInt32 kAngleField = 3;
constexpr ASInt32 kPreferencesEntry = 0;
constexpr ASInt32 kHelpEntry = 2;

/// How much the heap may grow once the history is full: the document and the steps vary in size,
/// by some tens of KiB; a leak of a few bytes an event, over tens of thousands of events, goes beyond.
constexpr double kGrowthSlackBytes = 256.0 * 1024;
constexpr double kGrowthPerEventBytes = 8.0;

struct Options {
    long events = 100'000;
    long paths = 10'000;
    unsigned long seed = 1;
    long every = 10'000;
};

/// The whole number that is all of text, or nullopt.
template <class T>
std::optional<T> parseCount(std::string_view text) {
    T value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

constexpr const char* kUsage = "usage: orvane-stress [--events N] [--paths P] [--seed S] [--every K]\n";

/// The options, or nullopt after a message on standard error.
std::optional<Options> parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (i + 1 >= argc) {
            std::cerr << "orvane-stress: " << name << " needs a value\n" << kUsage;
            return std::nullopt;
        }
        const std::string_view value = argv[++i];
        bool good = false;
        if (name == "--events" || name == "--paths" || name == "--every") {
            std::optional<long> count = parseCount<long>(value);
            good = count && (*count > 0 || (*count == 0 && name == "--paths"));
            if (good)
                (name == "--events" ? options.events : name == "--paths" ? options.paths : options.every) = *count;
        } else if (name == "--seed") {
            std::optional<unsigned long> seed = parseCount<unsigned long>(value);
            good = seed.has_value();
            if (good) options.seed = *seed;
        } else {
            std::cerr << "orvane-stress: unknown option " << name << '\n' << kUsage;
            return std::nullopt;
        }
        if (!good) {
            std::cerr << "orvane-stress: " << name << " takes a whole number"
                      << (name == "--seed"    ? ""
                          : name == "--paths" ? " from 0"
                                              : " from 1")
                      << ", not \"" << value << "\"\n";
            return std::nullopt;
        }
    }
    return options;
}

/// Bytes the program has allocated and not freed: the sanitizer's count under ASan (whose
/// allocator replaces malloc's), otherwise malloc's, mapped blocks included.
std::size_t heapInUse() {
#ifdef ORVANE_STRESS_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

/// The resident set in KiB, from /proc/self/status; 0 where it can't be read.
long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
    return 0;
}

struct Sample {
    long events;
    std::size_t heap;
    long rss;
    std::size_t art;
    std::size_t anchors;
    long undo;
    long redo;
    std::size_t blocks;   ///< the plug-ins' blocks of the host's allocator
    std::size_t strings;  ///< Unicode strings not yet disposed
    std::size_t hits;     ///< hit results not yet released
    bool historyFull;
};

class Stress {
public:
    explicit Stress(const Options& options)
        : options_(options), random_(options.seed), host_({ORVANE_PLUGINS_DIR, std::nullopt, {}}) {
        host_.setModalEventSource([this] { return closeModal(); });
        host_.start();
        host_.selectTool(kToolName);
        side_ = std::max(1.0, std::ceil(std::sqrt(static_cast<double>(options.paths))));
        for (long i = 0; i < options.paths; ++i)
            host_.document().addPath(documents::randomPath(random_, std::fmod(i, side_) * documents::kCell,
                                                           std::floor(i / side_) * documents::kCell));
        // The document as loaded is not a step a person would undo.
        host_.history().clear();
        cursor_ = {static_cast<AIReal>(side_ * documents::kCell / 2),
                   static_cast<AIReal>(side_ * documents::kCell / 2)};
    }

    /// Plays the events, printing a sample every options.every; the samples.
    std::vector<Sample> run() {
        std::vector<Sample> samples;
        samples.push_back(sample(0));
        print(samples.back(), true);
        for (long done = 1; done <= options_.events; ++done) {
            try {
                playOne();
            } catch (const std::exception& error) {
                throw std::runtime_error("event " + std::to_string(done) + ": " + error.what());
            }
            if (done % 100 == 0) noteHistory();
            if (done % options_.every == 0 || done == options_.events) {
                samples.push_back(sample(done));
                print(samples.back(), false);
            }
        }
        host_.quit();
        return samples;
    }

private:
    std::uniform_real_distribution<double> unit_{0.0, 1.0};

    bool chance(double p) { return unit_(random_) < p; }
    double between(double low, double high) { return low + (high - low) * unit_(random_); }
    std::size_t below(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }

    void playOne() {
        const double roll = unit_(random_);
        if (roll < 0.78)
            move();
        else if (roll < 0.90)
            host_.click(cursor_, clickModifiers());
        else if (roll < 0.925)
            host_.undo();
        else if (roll < 0.94)
            host_.redo();
        else if (roll < 0.975)
            deleteArt();
        else if (roll < 0.985)
            lockArt();
        else if (roll < 0.993)
            usePanel();
        else if (roll < 0.997)
            chooseMenu();
        else
            useTool();
    }

    /// Mostly none; Shift and Alt free the length or the angle, Control hides the labels and
    /// ends the polyline with Alt.
    ASUInt16 moveModifiers() {
        const double roll = unit_(random_);
        if (roll < 0.75) return 0;
        if (roll < 0.83) return shiftKey;
        if (roll < 0.91) return optionKey;
        if (roll < 0.95) return controlKey;
        if (roll < 0.97) return shiftKey | optionKey;
        return controlKey | optionKey;
    }

    /// Alt-click shows or hides the panel.
    ASUInt16 clickModifiers() {
        const double roll = unit_(random_);
        if (roll < 0.86) return 0;
        if (roll < 0.94) return shiftKey;
        if (roll < 0.97) return controlKey;
        return optionKey;
    }

    void move() {
        const double roll = unit_(random_);
        const double extent = side_ * documents::kCell;
        if (roll < 0.70) {
            cursor_ = {cursor_.h + static_cast<AIReal>(between(-15, 15)),
                       cursor_.v + static_cast<AIReal>(between(-15, 15))};
        } else if (roll < 0.80) {
            cursor_ = {cursor_.h + static_cast<AIReal>(between(-60, 60)),
                       cursor_.v + static_cast<AIReal>(between(-60, 60))};
        } else if (roll < 0.90) {
            // Onto an anchor of some art, or just beside it: snapping, open ends to take over.
            if (AIArtHandle art = host_.document().artAt(static_cast<long>(below(host_.document().artCount() + 1)) - 1))
                cursor_ = nearAnchorOf(art, std::nullopt);
        } else if (roll < 0.98) {
            // Onto the newest art, most often the polyline under way: its first point closes it,
            // its last point ends it, the middle of its last segment removes that segment.
            if (AIArtHandle art = host_.document().artAt(-1)) cursor_ = nearAnchorOf(art, unit_(random_));
        } else {
            cursor_ = {static_cast<AIReal>(between(0, extent)), static_cast<AIReal>(between(0, extent))};
        }
        // The cursor stays over the document, give or take a cell.
        const auto clamp = [&](AIReal x) {
            return std::clamp(x, static_cast<AIReal>(-documents::kCell),
                              static_cast<AIReal>(extent + documents::kCell));
        };
        cursor_ = {clamp(cursor_.h), clamp(cursor_.v)};
        host_.move(cursor_, moveModifiers());
    }

    /// A point on or next to an anchor of the art: a random one, or for `which` below a third the
    /// first, below two thirds the last, otherwise the middle of the last segment.
    AIRealPoint nearAnchorOf(AIArtHandle art, std::optional<double> which) {
        const std::vector<AIPathSegment>& anchors = host_.document().findArt(art)->shape.segments;
        if (anchors.empty()) return cursor_;
        AIRealPoint at = anchors[below(anchors.size())].p;
        if (which) {
            const AIRealPoint last = anchors.back().p;
            const AIRealPoint beforeLast = anchors.size() > 1 ? anchors[anchors.size() - 2].p : last;
            at = *which < 1.0 / 3   ? anchors.front().p
                 : *which < 2.0 / 3 ? last
                                    : AIRealPoint{(last.h + beforeLast.h) / 2, (last.v + beforeLast.v) / 2};
        }
        if (chance(0.5)) return at;
        return {at.h + static_cast<AIReal>(between(-2, 2)), at.v + static_cast<AIReal>(between(-2, 2))};
    }

    /// While the document is larger than it started, deletes the newest art, most often what the
    /// tool drew; otherwise deletes any art and draws a new random path in its stead, so that the
    /// document keeps its size and the kind of its paths.
    void deleteArt() {
        host::Document& document = host_.document();
        if (document.artCount() > static_cast<std::size_t>(options_.paths)) {
            AIArtHandle art = document.artAt(-1);
            host_.edit([art](host::Document& d) { d.disposeArt(art); });
            return;
        }
        if (document.artCount() == 0) return;
        AIArtHandle art = document.artAt(static_cast<long>(below(document.artCount())));
        const auto cell = static_cast<double>(below(static_cast<std::size_t>(side_ * side_)));
        host::PathShape shape = documents::randomPath(random_, std::fmod(cell, side_) * documents::kCell,
                                                      std::floor(cell / side_) * documents::kCell);
        host_.edit([&](host::Document& d) {
            d.disposeArt(art);
            d.addPath(std::move(shape));
        });
    }

    void lockArt() {
        host::Document& document = host_.document();
        if (document.artCount() == 0) return;
        AIArtHandle art = document.artAt(static_cast<long>(below(document.artCount())));
        const bool locked = (document.findArt(art)->attributes & kArtLocked) != 0;
        host_.edit([art, locked](host::Document& d) { d.setLocked(art, !locked); });
    }

    bool panelShown() const {
        ADMDialogRef panel = plugin_facts::panelOf(host_.dialogs());
        const host::DialogManager::Dialog* dialog = panel ? host_.dialogs().dialog(panel) : nullptr;
        return dialog && dialog->visible;
    }

    /// Types a length or an angle (now and then one that means nothing), or uses the panel's menu.
    void usePanel() {
        if (!panelShown()) {
            host_.click(cursor_, optionKey);
            return;
        }
        ADMDialogRef panel = plugin_facts::panelOf(host_.dialogs());
        const double roll = unit_(random_);
        if (roll < 0.4) {
            host_.typeIntoItem(panel, kLengthField, chance(0.9) ? std::to_string(between(-50, 80)) : "ten");
        } else if (roll < 0.8) {
            host_.typeIntoItem(panel, kAngleField, chance(0.9) ? std::to_string(between(-180, 360)) : "1e999");
        } else if (roll < 0.95) {
            host_.chooseDialogMenu(panel, kHelpEntry);
        } else {
            host_.chooseDialogMenu(panel, kPreferencesEntry);
        }
    }

    void chooseMenu() {
        if (chance(0.3))
            host_.chooseMenuItem(kAboutItem);
        else
            host_.chooseMenuItem(panelShown() ? kHidePanelItem : kShowPanelItem);
    }

    /// A double-click on the tool (its preferences), or another tool and back.
    void useTool() {
        if (chance(0.5)) {
            host_.editTool();
        } else {
            host_.deselect();
            host_.selectTool(kToolName);
        }
    }

    /// The person's action inside a modal dialog: the About box's button, else OK now and then
    /// and Cancel most often. The run never waits.
    bool closeModal() {
        ADMDialogRef dialog = host_.modalDialog();
        const host::DialogManager::Dialog* found = host_.dialogs().dialog(dialog);
        const bool ok = (found && found->id == kAboutDialogID) || chance(0.2);
        host_.clickItem(dialog, ok ? host::DialogManager::kOkButtonID : host::DialogManager::kCancelButtonID);
        return true;
    }

    void noteHistory() {
        if (historyFull_) return;
        nlohmann::json dump;
        host_.history().dump(dump);
        historyFull_ = dump["history"]["undo"].get<std::size_t>() + dump["history"]["redo"].get<std::size_t>() >=
                       host::History::kMaxSteps;
    }

    Sample sample(long events) {
        std::size_t anchors = 0;
        host_.document().forEachArt(
            [&](AIArtHandle, const host::Document::Art& art) { anchors += art.shape.segments.size(); });
        nlohmann::json dump;
        host_.history().dump(dump);
        return {events,
                heapInUse(),
                residentKiB(),
                host_.document().artCount(),
                anchors,
                dump["history"]["undo"].get<long>(),
                dump["history"]["redo"].get<long>(),
                host_.memory().liveBlocks(),
                host_.strings().liveCount(),
                host_.hitTesting().liveResults(),
                historyFull_};
    }

    static void print(const Sample& s, bool header) {
        if (header)
            std::printf("%9s %14s %10s %7s %9s %5s %5s %6s %7s %4s\n", "events", "heap bytes", "RSS KiB", "art",
                        "anchors", "undo", "redo", "blocks", "strings", "hits");
        std::printf("%9ld %14zu %10ld %7zu %9zu %5ld %5ld %6zu %7zu %4zu%s\n", s.events, s.heap, s.rss, s.art,
                    s.anchors, s.undo, s.redo, s.blocks, s.strings, s.hits, s.historyFull ? "" : "  (history filling)");
        std::fflush(stdout);
    }

    Options options_;
    std::mt19937 random_;
    host::Host host_;
    double side_ = 1;
    AIRealPoint cursor_{};
    bool historyFull_ = false;
};

/// From the first sample with the history full to the end, the heap must not grow by more than
/// noise: true when it holds, after a verdict line.
bool verdict(const std::vector<Sample>& samples) {
    auto plateau = std::find_if(samples.begin(), samples.end(), [](const Sample& s) { return s.historyFull; });
    if (std::distance(plateau, samples.end()) < 2) {
        std::printf("verdict: not judged, the run ends before the history holds %zu steps\n", host::History::kMaxSteps);
        return true;
    }
    const Sample& last = samples.back();
    const double events = static_cast<double>(last.events - plateau->events);
    const double growth = static_cast<double>(last.heap) - static_cast<double>(plateau->heap);
    const bool flat = growth <= kGrowthSlackBytes + kGrowthPerEventBytes * events;
    std::printf("verdict: %s: the heap went from %zu bytes at %ld events to %zu at %ld (%+.1f bytes an event)\n",
                flat ? "flat" : "GROWS", plateau->heap, plateau->events, last.heap, last.events, growth / events);
    return flat;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<Options> options = parseOptions(argc, argv);
    if (!options) return 2;
    try {
        const auto start = std::chrono::steady_clock::now();
        std::printf("orvane-stress: %ld events against %ld paths, seed %lu%s\n", options->events, options->paths,
                    options->seed,
#ifdef ORVANE_STRESS_ASAN
                    ", under AddressSanitizer"
#else
                    ""
#endif
        );
        std::vector<Sample> samples;
        {
            Stress stress(*options);
            samples = stress.run();
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("wall time: %.1f s\n", seconds);
        return verdict(samples) ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "orvane-stress: " << error.what() << '\n';
        return 1;
    }
}
