// orvane-workbench-screenshots: the pictures of docs/, taken on the offscreen platform by
// driving the workbench as a person would. Usage: orvane-workbench-screenshots [DIR]
#include <functional>
#include <iostream>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

#include "MainWindow.h"
#include "PluginFacts.h"
#include "host/Host.h"

namespace {

QString outputDir;
int failures = 0;

/// The canvas pixel of an artwork point at the initial view (zoom 1, centre 0, 0).
QPointF pixelOf(const QWidget* canvas, double h, double v) {
    return {h + canvas->width() / 2 + 0.5, canvas->height() / 2 - v + 0.5};
}

void mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton) {
    Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void moveTo(QWidget* canvas, double h, double v) {
    mouse(canvas, QEvent::MouseMove, pixelOf(canvas, h, v));
}

void moveAndClick(QWidget* canvas, double h, double v) {
    moveTo(canvas, h, v);
    mouse(canvas, QEvent::MouseButtonPress, pixelOf(canvas, h, v), Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, pixelOf(canvas, h, v), Qt::LeftButton);
}

void save(QWidget* widget, const char* name) {
    QCoreApplication::processEvents();
    QString file = QDir(outputDir).filePath(QString::fromLatin1(name));
    if (!widget || !widget->grab().save(file)) {
        std::cerr << "orvane-workbench-screenshots: could not write " << file.toStdString() << '\n';
        ++failures;
        return;
    }
    std::cout << file.toStdString() << '\n';
}

/// A started, shown workbench with the panel shown or not and the tool selected.
struct Bench {
    std::unique_ptr<host::Host> host;
    std::unique_ptr<workbench::MainWindow> window;

    explicit Bench(bool panelVisible) {
        host = std::make_unique<host::Host>(host::Host::Options{ORVANE_PLUGINS_DIR, std::nullopt, {}});
        host->preferences().put(plugin_facts::kPreferencePrefix, plugin_facts::kPanelVisibleKey, panelVisible);
        window = std::make_unique<workbench::MainWindow>(*host);
        window->start();
        // A canvas as large as the replay program's view.
        window->resize(window->sizeHint());
        window->show();
        if (!host->started()) throw std::runtime_error(window->lastError().toStdString());
        window->toolButton(plugin_facts::kToolName)->click();
    }
    ~Bench() { window.reset(); }
    QWidget* canvas() const { return window->canvas(); }
};

void drawing() {
    Bench bench(false);
    QWidget* canvas = bench.canvas();
    moveAndClick(canvas, -220, -120);
    moveAndClick(canvas, -60, 60);
    // The rubber band from the last point, with its length and angle beside the cursor.
    moveTo(canvas, 130, 10);
    save(bench.window.get(), "workbench-drawing.png");
}

void guide() {
    Bench bench(false);
    QWidget* canvas = bench.canvas();
    // A closed triangle whose anchors the tool remembers when the cursor passes over them.
    moveAndClick(canvas, -250, -150);
    moveAndClick(canvas, -40, -150);
    moveAndClick(canvas, -150, 20);
    moveAndClick(canvas, -250, -150);
    // Where the tool put the top anchor: its lengths and angles are rounded.
    AIRealPoint top{-150, 20};
    bench.host->document().forEachArt([&](AIArtHandle, const host::Document::Art& art) {
        if (art.shape.segments.size() == 3) top = art.shape.segments[2].p;
    });
    moveAndClick(canvas, 60, 140);
    moveTo(canvas, top.h, top.v);
    // Level with the remembered top anchor: a dashed guide leads to it.
    moveTo(canvas, 180, top.v + 0.5);
    save(bench.window.get(), "workbench-guide.png");
}

/// Through the Window menu's item that shows the panel, as a person would.
void showPanel(Bench& bench) {
    bench.window->act([&] { bench.host->chooseMenuItem(plugin_facts::kShowPanelItem); });
}

void panelHelp() {
    Bench bench(true);
    ADMDialogRef panel = plugin_facts::panelOf(bench.host->dialogs());
    if (!panel) throw std::runtime_error("no panel");
    if (!bench.host->dialogs().dialog(panel)->visible) showPanel(bench);
    bench.window->act([&] { bench.host->chooseDialogMenu(panel, plugin_facts::kHelpEntry); });
    moveAndClick(bench.canvas(), -100, -40);
    moveTo(bench.canvas(), 60, 30);
    save(bench.window->dialogWindow(panel), "workbench-panel-help.png");
}

void preferences() {
    Bench bench(false);
    // The modal run's nested loop takes the timer: the dialog is grabbed, then cancelled.
    QTimer::singleShot(0, [&] {
        workbench::DialogWindow* dialog = bench.window->dialogWindow(bench.host->modalDialog());
        save(dialog, "workbench-preferences.png");
        if (dialog) dialog->close();
    });
    bench.window->act([&] { bench.host->editTool(); });
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    outputDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    try {
        panelHelp();
        drawing();
        guide();
        preferences();
    } catch (const std::exception& error) {
        std::cerr << "orvane-workbench-screenshots: " << error.what() << '\n';
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
