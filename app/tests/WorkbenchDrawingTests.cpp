// The workbench's drawing basics driven as a person would: the layers panel, the
// selection moved by a frame, a drag, the arrows and Object › Move…, the status
// bar and the page; each change checked on the host's model and undone.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <cmath>
#include <functional>

#include "DocumentDialogs.h"
#include "MainWindow.h"
#include "PluginFacts.h"
#include "WorkbenchTestSupport.h"
#include "host/Host.h"
#include "host/document/Svg.h"

using workbench::Canvas;
using workbench::LayersPanel;
using workbench::MainWindow;
using workbench_test::mouse;

namespace {

/// A press at from, a movement to to, a release there: a drag with the left button.
void drag(QWidget* canvas, QPointF from, QPointF to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    mouse(canvas, QEvent::MouseMove, from, Qt::NoButton, modifiers);
    mouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
    mouse(canvas, QEvent::MouseMove, to, Qt::NoButton, modifiers);
    mouse(canvas, QEvent::MouseButtonRelease, to, Qt::LeftButton, modifiers);
}

/// The layers as the panel lists them: name, then "shown" and "locked" when checked, then "current" when bold.
QStringList rows(const LayersPanel* panel) {
    QStringList all;
    const QTreeWidget* list = panel->list();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        QString text = item->text(LayersPanel::kNameColumn);
        if (item->checkState(LayersPanel::kShownColumn) == Qt::Checked) text += QStringLiteral(" shown");
        if (item->checkState(LayersPanel::kLockedColumn) == Qt::Checked) text += QStringLiteral(" locked");
        if (item->font(LayersPanel::kNameColumn).bold()) text += QStringLiteral(" current");
        all << text;
    }
    return all;
}

AIRealPoint firstAnchor(const host::Document& document, long index) {
    return document.findArt(document.artAt(index))->shape.segments.front().p;
}

/// Runs answer on the modal dialog of type T once it is open, then lets it go on.
template <typename T>
void whenOpen(const std::function<void(T*)>& answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        answer(dialog);
    });
}

}  // namespace

class WorkbenchDrawingTests : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<host::Host> host_;
    std::unique_ptr<MainWindow> window_;

    void startAndShow() {
        host_ = std::make_unique<host::Host>(host::Host::Options{ORVANE_PLUGINS_DIR, std::nullopt, {}});
        window_ = std::make_unique<MainWindow>(*host_);
        window_->start();
        QVERIFY2(host_->started(), qPrintable(window_->lastError()));
        window_->show();
        window_->resize(1000, 800);
        QCoreApplication::processEvents();
    }
    /// The canvas pixel of an artwork point at the view as it is now.
    QPointF pixelOf(double h, double v) const {
        const double zoom = host_->views().zoom();
        const AIRealPoint center = host_->views().center();
        return {(h - center.h) * zoom + host_->views().width() / 2 + 0.5,
                (center.v - v) * zoom + host_->views().height() / 2 + 0.5};
    }
    void setView(double zoom, AIRealPoint center) {
        window_->act([&] {
            host_->views().setZoom(static_cast<AIReal>(zoom));
            host_->views().setCenter(center);
            host_->afterEvent();
        });
    }
    QAction* menuAction(const char* menu, const char* text) const {
        return workbench_test::menuAction(*window_, menu, text);
    }
    void undo() { menuAction("&Edit", "&Undo")->trigger(); }
    void redo() { menuAction("&Edit", "&Redo")->trigger(); }
    void selectionTool() { window_->toolButton("")->click(); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
        settings.clear();
        settings.sync();
    }
    void cleanup() {
        window_.reset();
        host_.reset();
    }

    void theLayersPanelsActionsAreStepsItFollowsThroughUndo() {
        startAndShow();
        // Hidden at first, shown from the Window menu.
        QVERIFY(window_->layersDock()->isHidden());
        window_->layersDock()->toggleViewAction()->trigger();
        QVERIFY(window_->layersDock()->isVisible());
        LayersPanel* panel = window_->layersPanel();
        host_->document().addSvgPath("M 0 0 L 10 0");
        QCOMPARE(rows(panel), QStringList{"Layer 1 shown current"});
        QVERIFY(!panel->deleteButton()->isEnabled());

        QStringList history{rows(panel).join('|')};
        auto step = [&](const std::function<void()>& action, const QStringList& expected) {
            action();
            QCOMPARE(rows(panel), expected);
            history << expected.join('|');
        };
        step([&] { panel->addButton()->click(); }, {"Layer 2 shown current", "Layer 1 shown"});
        step([&] { panel->list()->topLevelItem(0)->setText(LayersPanel::kNameColumn, QStringLiteral("Walls")); },
             {"Walls shown current", "Layer 1 shown"});
        step([&] { panel->list()->topLevelItem(1)->setCheckState(LayersPanel::kLockedColumn, Qt::Checked); },
             {"Walls shown current", "Layer 1 shown locked"});
        step([&] { panel->list()->topLevelItem(0)->setCheckState(LayersPanel::kShownColumn, Qt::Unchecked); },
             {"Walls current", "Layer 1 shown locked"});
        step([&] { panel->downButton()->click(); }, {"Layer 1 shown locked", "Walls current"});
        QVERIFY(panel->upButton()->isEnabled() && !panel->downButton()->isEnabled());

        // One click makes a layer current; no step, but the status bar names it.
        panel->list()->setCurrentItem(panel->list()->topLevelItem(0));
        QCOMPARE(rows(panel), (QStringList{"Layer 1 shown locked current", "Walls"}));
        QCOMPARE(window_->statusFields().layer()->text(), QStringLiteral("Layer: Layer 1 (locked)"));
        history.back() = rows(panel).join('|');

        // Deleting a layer with art asks first; declined, nothing happens.
        int asked = 0;
        bool agree = false;
        panel->confirmDelete = [&](const QString& name, std::size_t art) {
            ++asked;
            return name == QStringLiteral("Layer 1") && art == 1 && agree;
        };
        panel->deleteButton()->click();
        QCOMPARE(asked, 1);
        QCOMPARE(host_->document().layerCount(), std::size_t{2});
        agree = true;
        step([&] { panel->deleteButton()->click(); }, {"Walls current"});
        QCOMPARE(host_->document().artCount(), std::size_t{0});

        for (qsizetype i = history.size() - 1; i > 0; --i) {
            undo();
            QCOMPARE(rows(panel).join('|'), history[i - 1]);
        }
        QCOMPARE(host_->document().artCount(), std::size_t{1});
        // Redone, each step makes current the layer that was current when it was made.
        auto withoutCurrent = [](QString text) { return text.remove(QStringLiteral(" current")); };
        for (qsizetype i = 1; i < history.size(); ++i) {
            redo();
            QCOMPARE(withoutCurrent(rows(panel).join('|')), withoutCurrent(history[i]));
        }
    }

    void aLayerChangeIsAnUnsavedChangeUntilUndone() {
        startAndShow();
        host_->edit([](host::Document& document) { document.addSvgPath("M 0 0 L 10 0"); });
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("saved.svg"));
        QVERIFY(window_->saveTo(file));
        LayersPanel* panel = window_->layersPanel();
        panel->list()->topLevelItem(0)->setText(LayersPanel::kNameColumn, QStringLiteral("Walls"));
        QVERIFY(window_->isDocumentModified());
        undo();
        QVERIFY(!window_->isDocumentModified());
        // The same path in another layer is another drawing.
        panel->addButton()->click();
        QVERIFY(window_->saveTo(file));
        host_->edit([](host::Document& document) {
            AIArtHandle art = document.findLayer(document.layerAt(1))->art.begin()->second;
            const host::PathShape shape = document.findArt(art)->shape;
            document.disposeArt(art);
            document.addPath(shape);
        });
        QVERIFY(window_->isDocumentModified());
    }

    void thePanelShowsTheLayersOfAnOpenedFile() {
        startAndShow();
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("layered.svg"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(
            "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'"
            " xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape'"
            " xmlns:sodipodi='http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd'>"
            "<sodipodi:namedview inkscape:current-layer='frame'/>"
            "<g id='frame' inkscape:groupmode='layer' inkscape:label='Frame' sodipodi:insensitive='true'>"
            "<path d='M 0 0 L 10 0'/></g>"
            "<g id='notes' inkscape:groupmode='layer' inkscape:label='Notes' style='display:none'/></svg>");
        out.close();
        QVERIFY(window_->openFile(file));
        QCOMPARE(rows(window_->layersPanel()), (QStringList{"Notes", "Frame shown locked current"}));
    }

    void theSelectionMovesByAFrameADragTheArrowsAndTheMoveDialog() {
        startAndShow();
        host::Document& document = host_->document();
        host_->edit([](host::Document& d) {
            d.addSvgPath("M 0 0 L 20 0");
            d.addSvgPath("M 0 30 L 20 30");
            d.addSvgPath("M 100 100 L 120 100");
        });
        host_->history().clear();
        selectionTool();
        Canvas* canvas = window_->canvas();
        // A frame takes the art wholly inside it; Shift adds; a frame around nothing takes nothing.
        drag(canvas, pixelOf(-5, 5), pixelOf(25, -5));
        QCOMPARE(document.selectedArt().size(), std::size_t{1});
        drag(canvas, pixelOf(-5, 35), pixelOf(15, 25), Qt::ShiftModifier);
        QCOMPARE(document.selectedArt().size(), std::size_t{1});
        drag(canvas, pixelOf(-5, 35), pixelOf(25, 25), Qt::ShiftModifier);
        QCOMPARE(document.selectedArt().size(), std::size_t{2});
        QVERIFY(!host_->canUndo());

        // Dragged by an anchor to within the tolerance of another art's anchor: it lands on it exactly.
        drag(canvas, pixelOf(0, 0), pixelOf(103, 97));
        QCOMPARE(firstAnchor(document, 0).h, 100.0f);
        QCOMPARE(firstAnchor(document, 0).v, 100.0f);
        QCOMPARE(firstAnchor(document, 1).v, 130.0f);
        undo();
        QCOMPARE(firstAnchor(document, 0).h, 0.0f);

        // The arrows: a pixel of the view, ten with Shift, at zoom 2.
        setView(2, {0, 0});
        drag(canvas, pixelOf(-5, 35), pixelOf(25, -5));
        QTest::keyClick(canvas, Qt::Key_Right);
        QTest::keyClick(canvas, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(firstAnchor(document, 0).h, 0.5f);
        QCOMPARE(firstAnchor(document, 0).v, 5.0f);
        undo();
        QCOMPARE(firstAnchor(document, 0).v, 0.0f);
        QCOMPARE(firstAnchor(document, 0).h, 0.5f);
        undo();

        // Object › Move…: millimetres at the drawing scale, down the page positive; 1:2 doubles the drawing.
        host_->preferences().put(plugin_facts::kPreferencePrefix, plugin_facts::kScaleNumeratorKey, 2.0);
        whenOpen<workbench::MoveDialog>([](workbench::MoveDialog* dialog) {
            dialog->horizontalField()->setText(QStringLiteral("25,4 mm"));
            dialog->verticalField()->setText(QStringLiteral("-50.8"));
            dialog->accept();
        });
        menuAction("&Object", "&Move…")->trigger();
        QCOMPARE(firstAnchor(document, 0).h, 36.0f);
        QCOMPARE(firstAnchor(document, 0).v, 72.0f);
        QCOMPARE(firstAnchor(document, 2).h, 100.0f);
        undo();
        QCOMPARE(firstAnchor(document, 0).h, 0.0f);

        // A text that is no number keeps the dialog open and moves nothing.
        whenOpen<workbench::MoveDialog>([](workbench::MoveDialog* dialog) {
            dialog->horizontalField()->setText(QStringLiteral("ten"));
            dialog->accept();
            QVERIFY(dialog->isVisible());
            dialog->reject();
        });
        menuAction("&Object", "&Move…")->trigger();
        QCOMPARE(firstAnchor(document, 0).h, 0.0f);
    }

    void recordedLayerChangesAndMovesReplayToTheSameDocument() {
        QTemporaryDir folder;
        const QString session = folder.filePath(QStringLiteral("recorded.session"));
        startAndShow();
        QVERIFY(window_->recordSession(session));
        host_->document().addSvgPath("M 0 0 L 20 0");
        window_->recorder().add("path \"M 0 0 L 20 0\"");
        LayersPanel* panel = window_->layersPanel();
        panel->addButton()->click();
        panel->list()->topLevelItem(0)->setText(LayersPanel::kNameColumn, QStringLiteral("Über \"Plan\""));
        panel->list()->setCurrentItem(panel->list()->topLevelItem(1));
        selectionTool();
        drag(window_->canvas(), pixelOf(-5, 5), pixelOf(25, -5));
        QTest::keyClick(window_->canvas(), Qt::Key_Left, Qt::ShiftModifier);
        panel->upButton()->click();
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
        window_->recorder().add("dump doc replayed.json");
        window_->recorder().stop();
        const nlohmann::json drawn = host_->document().dump();

        QProcess replay;
        replay.setWorkingDirectory(folder.path());
        replay.start(QStringLiteral(ORVANE_REPLAY),
                     {QStringLiteral("--plugins"), QStringLiteral(ORVANE_PLUGINS_DIR), session});
        QVERIFY(replay.waitForFinished(60000));
        QVERIFY2(replay.exitCode() == 0, replay.readAllStandardError().constData());
        QFile out(folder.filePath(QStringLiteral("replayed.json")));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromStdString(nlohmann::json::parse(out.readAll().toStdString()).dump()),
                 QString::fromStdString(drawn.dump()));
    }

    void theStatusBarTellsThePositionInDrawingMillimetresTheZoomAndTheHint() {
        startAndShow();
        host_->document().setPage({-72, 144, 595, 842});
        const workbench::StatusFields& status = window_->statusFields();
        Canvas* canvas = window_->canvas();
        // An inch right of the page's left edge and two down from its top, at two zooms and two scales.
        for (double zoom : {1.0, 4.0}) {
            setView(zoom, {10, 20});
            QCOMPARE(status.zoom()->text(), zoom == 1.0 ? QStringLiteral("100 %") : QStringLiteral("400 %"));
            host_->preferences().put(plugin_facts::kPreferencePrefix, plugin_facts::kScaleNumeratorKey, 1.0);
            mouse(canvas, QEvent::MouseMove, pixelOf(0, 0));
            QCOMPARE(status.position()->text(), QStringLiteral("x 25,4 mm  y 50,8 mm"));
            host_->preferences().put(plugin_facts::kPreferencePrefix, plugin_facts::kScaleNumeratorKey, 50.0);
            mouse(canvas, QEvent::MouseMove, pixelOf(0, 0));
            QCOMPARE(status.position()->text(), QStringLiteral("x 1270,0 mm  y 2540,0 mm"));
        }
        selectionTool();
        QVERIFY(status.hint()->text().contains(QStringLiteral("drag")));
        window_->toolButton(plugin_facts::kToolName)->click();
        QCOMPARE(status.hint()->text(), QString::fromUtf8(plugin_facts::kToolTip));
        QCOMPARE(status.layer()->text(), QStringLiteral("Layer: Layer 1"));
    }

    void newAsksForThePageWhoseOutlineTheCanvasDraws() {
        startAndShow();
        whenOpen<workbench::PageSizeDialog>([](workbench::PageSizeDialog* dialog) {
            QCOMPARE(dialog->widthField()->text(), QStringLiteral("210,00"));
            dialog->sizes()->setCurrentText(QStringLiteral("A3"));
            dialog->accept();
        });
        menuAction("&File", "&New")->trigger();
        const host::PageBox a3{0, 0, 297 / host::AdmBasic::kMillimetresPerPoint,
                               420 / host::AdmBasic::kMillimetresPerPoint};
        QCOMPARE(host_->document().page(), a3);
        // Saved as the file's size, it opens again as the same page.
        QTemporaryDir folder;
        const QString saved = folder.filePath(QStringLiteral("a3.svg"));
        QVERIFY(window_->saveTo(saved));
        const host::PageBox reopened = host::importSvg(saved.toStdString()).page;
        QVERIFY(std::abs(reopened.width - a3.width) < 1e-3 && std::abs(reopened.height - a3.height) < 1e-3);
        QVERIFY(reopened.left == 0 && reopened.top == 0);

        // A size of one's own, typed with either separator; refused while it is no size.
        whenOpen<workbench::PageSizeDialog>([](workbench::PageSizeDialog* dialog) {
            dialog->sizes()->setCurrentText(QStringLiteral("Custom"));
            dialog->widthField()->setText(QStringLiteral("0"));
            dialog->heightField()->setText(QStringLiteral("50"));
            dialog->accept();
            QVERIFY(dialog->isVisible());
            dialog->widthField()->setText(QStringLiteral("100,5 mm"));
            dialog->accept();
        });
        menuAction("&File", "&New")->trigger();
        QCOMPARE(host_->document().page().width, 100.5 / host::AdmBasic::kMillimetresPerPoint);
        QCOMPARE(host_->document().page().height, 50 / host::AdmBasic::kMillimetresPerPoint);

        // The outline, fitted into view, is where the page is, and painted there.
        Canvas* canvas = window_->canvas();
        const QRectF outline = canvas->pageOutline();
        const QPointF topLeft = pixelOf(0, 0),
                      bottomRight = pixelOf(host_->document().page().width, -host_->document().page().height);
        QVERIFY(std::abs(outline.left() - topLeft.x()) < 1 && std::abs(outline.bottom() - bottomRight.y()) < 1);
        QVERIFY(QRectF(canvas->rect()).contains(outline));
        const QImage shown = canvas->grab().toImage();
        const int middle = static_cast<int>(outline.center().y());
        QVERIFY(qGray(shown.pixel(static_cast<int>(outline.left()), middle)) < 200);
        QCOMPARE(qGray(shown.pixel(static_cast<int>(outline.center().x()), middle)), 255);
    }
};

QTEST_MAIN(WorkbenchDrawingTests)
#include "WorkbenchDrawingTests.moc"
