// A long session against a large document, played through the host façade and the
// real module by the random-session driver, seeded: mostly cursor movements, with
// clicks that place points, close, end and shorten polylines or take paths over,
// modifier combinations, undo and redo, the panel, the menus and the dialogs, and
// art deleted and locked by hand. Every so many events it prints the heap in use
// and the resident set, so that one can see the memory level off once the host's
// history holds as many steps as it keeps.
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
#include "RandomSession.h"
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

/// A person drawing: mostly movements and clicks, with undo and redo, art deleted and locked, and now and
/// then the panel, the menus and the tool's dialog; one choice in a thousand is one no person makes.
random_session::Profile drawingProfile() {
    using random_session::Action;
    random_session::Profile profile;
    auto weight = [&](Action action) -> double& { return profile.weights[static_cast<std::size_t>(action)]; };
    weight(Action::move) = 0.76;
    weight(Action::click) = 0.14;
    weight(Action::undo) = 0.025;
    weight(Action::redo) = 0.015;
    weight(Action::deleteArt) = 0.035;
    weight(Action::lockArt) = 0.01;
    weight(Action::typeIntoPanel) = 0.005;
    weight(Action::pressKey) = 0.01;
    weight(Action::usePanel) = 0.003;
    weight(Action::chooseMenu) = 0.004;
    weight(Action::editTool) = 0.0015;
    weight(Action::selectTool) = 0.001;
    profile.oddInput = 0.001;
    profile.plainKeys = 0.8;
    return profile;
}

class Stress {
public:
    explicit Stress(const Options& options)
        : options_(options),
          random_(options.seed),
          host_({ORVANE_PLUGINS_DIR, std::nullopt, {}}),
          choices_(random_),
          driver_(host_, choices_, profile(options)) {
        host_.setModalEventSource([this] {
            driver_.endModal();
            return true;
        });
        host_.start();
        host_.selectTool(plugin_facts::kToolName);
        for (long i = 0; i < options.paths; ++i) host_.document().addPath(pathInCell(static_cast<double>(i)));
        // The document as loaded is not a step a person would undo.
        host_.history().clear();
    }

    /// Plays the events, printing a sample every options.every; the samples.
    std::vector<Sample> run() {
        std::vector<Sample> samples;
        samples.push_back(sample(0));
        print(samples.back(), true);
        for (long done = 1; done <= options_.events; ++done) {
            try {
                driver_.playOne();
            } catch (const std::exception& error) {
                throw std::runtime_error("event " + std::to_string(done) + ": " + error.what());
            }
            if (done % 100 == 0) noteHistory();
            if (done % options_.every == 0 || done == options_.events) {
                samples.push_back(sample(done));
                print(samples.back(), false);
            }
        }
        std::printf("refused by the host: %ld of %ld events\n", driver_.refusals(), options_.events);
        host_.quit();
        return samples;
    }

private:
    /// Cells on a side of the square the document's paths fill.
    static double side(long paths) { return std::max(1.0, std::ceil(std::sqrt(static_cast<double>(paths)))); }

    /// The drawing profile over this document: the cursor over it, give or take a cell, and the document
    /// kept at its size, each path deleted by hand giving way to a new one in a random cell.
    random_session::Profile profile(const Options& options) {
        random_session::Profile profile = drawingProfile();
        const double extent = side(options.paths) * documents::kCell;
        profile.area = {-documents::kCell, -documents::kCell, extent + documents::kCell, extent + documents::kCell};
        profile.keptArt = static_cast<std::size_t>(options.paths);
        const double cells = side(options.paths) * side(options.paths);
        profile.newPath = [this, cells] {
            return pathInCell(static_cast<double>(choices_.between(0, static_cast<long>(cells) - 1)));
        };
        return profile;
    }

    /// A random path in the cell with that number, row by row from the bottom left.
    host::PathShape pathInCell(double cell) {
        const double perRow = side(options_.paths);
        return documents::randomPath(random_, std::fmod(cell, perRow) * documents::kCell,
                                     std::floor(cell / perRow) * documents::kCell);
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
    random_session::SeededChoices choices_;
    random_session::Driver driver_;
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
