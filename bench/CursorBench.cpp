// What a cursor movement, a click, its undo and redo, and opening a file cost
// through PluginMain, the real module and the host, over documents of growing size
// at the same density: the R-tree keeps a movement's cost flat; the linear scan of
// every art is the baseline.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>

#include "PluginFacts.h"
#include "RandomDocument.h"
#include "host/Host.h"
#include "host/document/Svg.h"

namespace {

using documents::kCell;
using documents::randomPath;

struct Bench {
    long paths = -1;
    std::unique_ptr<host::Host> host;
    std::vector<AIRealPoint> cursors;
    std::size_t next = 0;
};

Bench& bench() {
    static Bench instance;
    return instance;
}

/// A started host with the tool selected over a document of `paths` paths.
Bench& prepare(long paths) {
    Bench& b = bench();
    if (b.paths == paths) return b;
    b.host.reset();
    b.host = std::make_unique<host::Host>(host::Host::Options{ORVANE_PLUGINS_DIR, std::nullopt, {}});
    b.host->start();
    b.host->selectTool(plugin_facts::kToolName);
    std::mt19937 random(20261206);
    const long side = static_cast<long>(std::ceil(std::sqrt(static_cast<double>(paths))));
    for (long i = 0; i < paths; ++i)
        b.host->document().addPath(
            randomPath(random, static_cast<double>(i % side) * kCell, static_cast<double>(i / side) * kCell));
    std::uniform_real_distribution<double> anywhere(0.0, static_cast<double>(side) * kCell);
    b.cursors.clear();
    for (int i = 0; i < 4096; ++i)
        b.cursors.push_back({static_cast<AIReal>(anywhere(random)), static_cast<AIReal>(anywhere(random))});
    b.paths = paths;
    // A polyline under way, so that every movement computes and draws the rubber band and labels.
    b.host->move(b.cursors[0], 0);
    b.host->click(b.cursors[0], 0);
    return b;
}

AIRealPoint nextCursor(Bench& b) {
    return b.cursors[b.next++ % b.cursors.size()];
}

void moveCursor(benchmark::State& state, bool linear) {
    Bench& b = prepare(state.range(0));
    b.host->hitTesting().setLinearScan(linear);
    for (auto _ : state) b.host->move(nextCursor(b), 0);
    b.host->hitTesting().setLinearScan(false);
}

void CursorMove(benchmark::State& state) {
    moveCursor(state, false);
}
void CursorMoveLinearScan(benchmark::State& state) {
    moveCursor(state, true);
}

/// Clicks as a person draws: short segments from the last point, a polyline of a few
/// segments ended with Control and Alt, then the next one somewhere else.
void Click(benchmark::State& state) {
    Bench& b = prepare(state.range(0));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> step(-20.0, 20.0);
    AIRealPoint at = nextCursor(b);
    long clicks = 0;
    for (auto _ : state) {
        at = {at.h + static_cast<AIReal>(step(random)), at.v + static_cast<AIReal>(step(random))};
        b.host->move(at, 0);
        b.host->click(at, 0);
        if (++clicks % 8 == 0) {
            b.host->move(at, controlKey | optionKey);
            at = nextCursor(b);
        }
    }
}

/// Undo and redo of a click on the polyline under way.
void Undo(benchmark::State& state) {
    Bench& b = prepare(state.range(0));
    AIRealPoint at = nextCursor(b);
    b.host->move(at, 0);
    b.host->click(at, 0);
    for (auto _ : state) {
        if (!b.host->undo() || !b.host->redo()) state.SkipWithError("no click to undo and redo");
    }
}

/// Opening an SVG file of N paths over a document of as many: the file read, the old art replaced, one step.
void OpenSvg(benchmark::State& state) {
    Bench& b = prepare(state.range(0));
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("orvane-bench-" + std::to_string(state.range(0)) + ".svg");
    host::saveSvg(b.host->document(), file);
    for (auto _ : state) b.host->openSvg(file);
    std::filesystem::remove(file);
    // The document is the file's now, without the polyline under way: the next benchmark starts afresh.
    b.paths = -1;
}

BENCHMARK(CursorMove)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(CursorMoveLinearScan)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)->MinTime(0.2);
BENCHMARK(Click)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Undo)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenSvg)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
