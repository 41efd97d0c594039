// What one cursor movement, and a movement and a click, cost in the workbench,
// paint included: the mouse events on the canvas, the host's tracking and redraw,
// the window brought in step and a synchronous paint (the cached artwork drawn,
// repainted where a click changed it, the annotations painted over it), and the
// move of a large selection by an arrow key.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolButton>

#include "MainWindow.h"
#include "PluginFacts.h"
#include "RandomDocument.h"
#include "host/Host.h"

namespace {

using documents::kCell;
using documents::randomPath;

void mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

struct Bench {
    long paths = -1;
    // The window before the host: it must go first.
    std::unique_ptr<host::Host> host;
    std::unique_ptr<workbench::MainWindow> window;
    std::vector<QPointF> cursors;
    std::size_t next = 0;

    ~Bench() { window.reset(); }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

/// A shown window over a document of `paths` paths, the tool selected and a polyline under way.
Bench& prepare(long paths) {
    Bench& b = bench();
    if (b.paths == paths) return b;
    b.window.reset();
    b.host.reset();
    b.host = std::make_unique<host::Host>(host::Host::Options{ORVANE_PLUGINS_DIR, std::nullopt, {}});
    b.window = std::make_unique<workbench::MainWindow>(*b.host);
    b.window->show();
    b.window->start();
    b.window->toolButton(plugin_facts::kToolName)->click();
    std::mt19937 random(20261206);
    const long side = static_cast<long>(std::ceil(std::sqrt(static_cast<double>(paths))));
    for (long i = 0; i < paths; ++i)
        b.host->document().addPath(
            randomPath(random, static_cast<double>(i % side) * kCell, static_cast<double>(i / side) * kCell));
    // At 100 %, over the middle of the document: the canvas is full of art.
    const auto middle = static_cast<AIReal>(static_cast<double>(side) * kCell / 2);
    b.window->act([&] {
        b.host->views().setCenter({middle, middle});
        b.host->afterEvent();
    });
    workbench::Canvas* canvas = b.window->canvas();
    std::uniform_real_distribution<double> across(0.0, canvas->width());
    std::uniform_real_distribution<double> down(0.0, canvas->height());
    b.cursors.clear();
    for (int i = 0; i < 4096; ++i) b.cursors.emplace_back(across(random), down(random));
    mouse(canvas, QEvent::MouseMove, b.cursors[0]);
    mouse(canvas, QEvent::MouseButtonPress, b.cursors[0], Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, b.cursors[0], Qt::LeftButton);
    // The first paint fills the artwork cache; the movements reuse it.
    canvas->repaint();
    QCoreApplication::processEvents();
    b.paths = paths;
    return b;
}

void WorkbenchMove(benchmark::State& state) {
    Bench& b = prepare(state.range(0));
    workbench::Canvas* canvas = b.window->canvas();
    const std::uint64_t revision = b.host->document().appearanceRevision();
    for (auto _ : state) {
        mouse(canvas, QEvent::MouseMove, b.cursors[b.next++ % b.cursors.size()]);
        canvas->repaint();
        QCoreApplication::processEvents();
    }
    // A movement that changed the painted art would have repainted the artwork too: not what is measured.
    if (b.host->document().appearanceRevision() != revision) state.SkipWithError("a movement changed the painted art");
    if (b.host->frame().empty()) state.SkipWithError("no annotations drawn: no polyline under way");
}

/// A movement and a click as a person draws, each painted: short segments from the last point, a
/// polyline of a few segments ended with Control and Alt, then the next one somewhere else.
void WorkbenchClick(benchmark::State& state) {
    Bench& b = prepare(state.range(0));
    workbench::Canvas* canvas = b.window->canvas();
    std::mt19937 random(7);
    std::uniform_real_distribution<double> step(-20.0, 20.0);
    QPointF at = b.cursors[b.next++ % b.cursors.size()];
    long clicks = 0;
    for (auto _ : state) {
        at = {std::clamp(at.x() + step(random), 0.0, canvas->width() - 1.0),
              std::clamp(at.y() + step(random), 0.0, canvas->height() - 1.0)};
        mouse(canvas, QEvent::MouseMove, at);
        mouse(canvas, QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(canvas, QEvent::MouseButtonRelease, at, Qt::LeftButton);
        canvas->repaint();
        QCoreApplication::processEvents();
        if (++clicks % 8 == 0) {
            mouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::ControlModifier | Qt::AltModifier);
            at = b.cursors[b.next++ % b.cursors.size()];
        }
    }
}

/// The most paths a selection moved by the arrow keys holds.
constexpr long kMovedPaths = 1000;

/// A move of a selection of up to kMovedPaths paths, spread over the drawing, by an arrow key: one step of the
/// history, painted.
void WorkbenchMoveSelection(benchmark::State& state) {
    Bench& b = prepare(state.range(0));
    workbench::Canvas* canvas = b.window->canvas();
    b.window->toolButton("")->click();
    std::vector<AIArtHandle> all;
    b.host->document().forEachArt([&](AIArtHandle art, const host::Document::Art&) { all.push_back(art); });
    std::shuffle(all.begin(), all.end(), std::mt19937(11));
    all.resize(static_cast<std::size_t>(std::min<long>(kMovedPaths, static_cast<long>(all.size()))));
    b.window->act([&] {
        b.host->edit([&](host::Document& document) {
            for (AIArtHandle art : all) document.setSelected(art, true);
        });
    });
    canvas->repaint();
    const std::uint64_t revision = b.host->document().revision();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &press);
        canvas->repaint();
        QCoreApplication::processEvents();
    }
    if (b.host->document().revision() == revision) state.SkipWithError("the selection did not move");
    // The next benchmark starts from a drawing of its own.
    b.paths = -1;
}

BENCHMARK(WorkbenchMove)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(WorkbenchClick)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(WorkbenchMoveSelection)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench().window.reset();
    bench().host.reset();
    return 0;
}
