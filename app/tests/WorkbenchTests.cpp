// The workbench driven as a person would: mouse and keys on the canvas, the
// toolbox, the panel's widgets and the modal dialogs, checked on the host's model.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include "MainWindow.h"
#include "host/Host.h"
#include "host/MacRoman.h"

using workbench::MainWindow;

namespace {

constexpr const char* kTool = "Orvane Tool";
constexpr const char* kPrefix = "TeskOrvane";

/// The canvas pixel of an artwork point at the initial view (zoom 1, centre 0, 0): the view is the canvas.
QPointF pixelOf(const QWidget* canvas, double h, double v) {
    return {h + canvas->width() / 2 + 0.5, canvas->height() / 2 - v + 0.5};
}

void mouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButton button = Qt::NoButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, buttons, modifiers);
    QCoreApplication::sendEvent(widget, &event);
}

void moveAndClick(QWidget* canvas, double h, double v, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QPointF at = pixelOf(canvas, h, v);
    mouse(canvas, QEvent::MouseMove, at, Qt::NoButton, modifiers);
    mouse(canvas, QEvent::MouseButtonPress, at, Qt::LeftButton, modifiers);
    mouse(canvas, QEvent::MouseButtonRelease, at, Qt::LeftButton, modifiers);
}

/// Types text into a field of a dialog window and confirms it with Return.
void typeInto(workbench::DialogWindow* window, ASInt32 itemID, const QString& text) {
    QWidget* item = window->itemWidget(itemID);
    QVERIFY(item);
    auto* edit = item->findChild<QLineEdit*>();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

const host::Document::Art* onlyArt(const host::Host& host) {
    const host::Document::Art* found = nullptr;
    int count = 0;
    host.document().forEachArt([&](AIArtHandle, const host::Document::Art& art) {
        found = &art;
        ++count;
    });
    return count == 1 ? found : nullptr;
}

double preference(host::Host& host, const char* key) {
    std::optional<host::PreferenceStore::Value> value = host.preferences().get(kPrefix, key);
    if (!value) return std::nan("");
    return std::visit([](auto v) { return static_cast<double>(v); }, *value);
}

}  // namespace

class WorkbenchTests : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<host::Host> host_;
    std::unique_ptr<MainWindow> window_;

    void open() {
        window_.reset();
        host_ = std::make_unique<host::Host>(host::Host::Options{ORVANE_PLUGINS_DIR, std::nullopt, {}});
        window_ = std::make_unique<MainWindow>(*host_);
    }
    void startAndShow() {
        window_->start();
        QVERIFY2(host_->started(), qPrintable(window_->lastError()));
        window_->show();
    }

private slots:
    void init() { open(); }
    void cleanup() {
        window_.reset();
        host_.reset();
    }

    void theToolboxMirrorsTheHostsTools() {
        startAndShow();
        QToolButton* selection = window_->toolButton("");
        QToolButton* tool = window_->toolButton(kTool);
        QVERIFY(selection && tool);
        QVERIFY(selection->isChecked());
        QCOMPARE(tool->toolTip(), QStringLiteral("Orvane Tool 1.3"));
        QVERIFY(!tool->icon().isNull());
        tool->click();
        QCOMPARE(host_->tools().selectedTool().name, std::string(kTool));
        QVERIFY(tool->isChecked() && !selection->isChecked());
        selection->click();
        QVERIFY(host_->tools().selected() == host_->tools().selectionTool());
    }

    void drawingATriangleWithTheMouseGivesAClosedPath() {
        startAndShow();
        window_->toolButton(kTool)->click();
        QWidget* canvas = window_->canvas();
        moveAndClick(canvas, -150, -60);
        moveAndClick(canvas, 60, -40);
        moveAndClick(canvas, 4, 100);
        // The labels follow a rubber band drawn at the latest move; the plug-in's cursor is the mouse's.
        QVERIFY(!host_->frame().empty());
        QVERIFY(host_->basic().cursor() != 0);
        QCOMPARE(canvas->cursor().shape(), Qt::BitmapCursor);
        moveAndClick(canvas, -148, -58);
        const host::Document::Art* art = onlyArt(*host_);
        QVERIFY(art);
        QVERIFY(art->shape.closed);
        QCOMPARE(art->shape.segments.size(), std::size_t{3});
        QCOMPARE(art->shape.segments[0].p.h, -150.0f);
        QCOMPARE(art->shape.segments[0].p.v, -60.0f);
        // The cached artwork now holds the stroke: a pixel on the first side is dark.
        QImage shown = canvas->grab().toImage();
        QPointF onFirstSide = pixelOf(canvas, -45, -50);
        QVERIFY(qGray(shown.pixel(onFirstSide.toPoint())) < 200);
    }

    void aChangeOfModifiersAloneMovesTheLabels() {
        startAndShow();
        window_->toolButton(kTool)->click();
        QWidget* canvas = window_->canvas();
        moveAndClick(canvas, 0, 0);
        mouse(canvas, QEvent::MouseMove, pixelOf(canvas, 100, 37));
        nlohmann::json before = host::toJson(host_->frame());
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
        QCoreApplication::sendEvent(canvas, &press);
        nlohmann::json held = host::toJson(host_->frame());
        QVERIFY(held != before);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &release);
        QCOMPARE(host::toJson(host_->frame()), before);
    }

    void theSelectionToolSelectsArtAndDeleteRemovesIt() {
        startAndShow();
        host_->document().addSvgPath("M -100 0 L 100 0");
        host_->document().addSvgPath("M -100 100 L 100 100");
        QWidget* canvas = window_->canvas();
        moveAndClick(canvas, 0, 1);
        int selected = 0;
        host_->document().forEachArt([&](AIArtHandle, const host::Document::Art& art) {
            selected += (art.attributes & kArtSelected) ? 1 : 0;
        });
        QCOMPARE(selected, 1);
        QApplication::setActiveWindow(window_.get());
        QTest::keyClick(window_.get(), Qt::Key_Delete);
        QCOMPARE(host_->document().artCount(), std::size_t{1});
        // The art left is the one that was not selected.
        host_->document().forEachArt([&](AIArtHandle, const host::Document::Art& art) {
            QCOMPARE(art.shape.segments[0].p.v, 100.0f);
        });
    }

    void typingInThePanelPlacesTheTypedSegment() {
        host_->preferences().put(kPrefix, "Precision", std::int32_t{1});
        host_->preferences().put(kPrefix, "PanneauVisible", true);
        startAndShow();
        ADMDialogRef panel = host_->panel();
        QVERIFY(panel);
        workbench::DialogWindow* window = window_->dialogWindow(panel);
        QVERIFY(window && window->isVisible());
        // A click on the strip selects the tool.
        QWidget* strip = window->itemWidget(6);
        QVERIFY(strip);
        // A corner of the strip that no other item covers.
        QPoint corner = strip->geometry().topLeft() + QPoint(1, 1);
        QWidget* target = window->childAt(corner);
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(window, corner));
        QCOMPARE(host_->tools().selectedTool().name, std::string(kTool));

        QWidget* canvas = window_->canvas();
        moveAndClick(canvas, 0, 0);
        typeInto(window, 1, QStringLiteral("10"));
        typeInto(window, 3, QStringLiteral("90"));
        moveAndClick(canvas, 40, -7);
        const host::Document::Art* art = onlyArt(*host_);
        QVERIFY(art);
        QCOMPARE(art->shape.segments.size(), std::size_t{2});
        QVERIFY(std::abs(art->shape.segments[1].p.h) < 1e-4);
        QVERIFY(std::abs(art->shape.segments[1].p.v - 28.346457f) < 1e-4);
        // The field shows the value the model holds.
        auto* edit = window->itemWidget(1)->findChild<QLineEdit*>();
        QCOMPARE(edit->text().toStdString(),
                 host::macRomanToUtf8(host_->dialogs().item(host_->dialogs().findItem(panel, 1))->text));

        // The close box hides the panel through the model.
        window->close();
        QVERIFY(!host_->dialogs().dialog(panel)->visible);
        QVERIFY(!window->isVisible());
    }

    void theArrowsOfTheAngleFieldStepItsValue() {
        host_->preferences().put(kPrefix, "Precision", std::int32_t{1});
        host_->preferences().put(kPrefix, "PanneauVisible", true);
        startAndShow();
        ADMDialogRef panel = host_->panel();
        QVERIFY(panel);
        workbench::DialogWindow* window = window_->dialogWindow(panel);
        QVERIFY(window && window->isVisible());
        // The fields take actions once the tool is selected.
        window_->act([&] { host_->selectTool(kTool); });
        QWidget* field = window->itemWidget(3);
        QVERIFY(field && field->isEnabled());
        auto* up = field->findChild<QToolButton*>(QStringLiteral("stepUp"));
        QVERIFY(up && up->isVisible());
        QTest::mouseClick(up, Qt::LeftButton);
        QTest::mouseClick(up, Qt::LeftButton);
        const host::DialogManager::Item* angle = host_->dialogs().item(host_->dialogs().findItem(panel, 3));
        QCOMPARE(angle->value, 2.0f);
        QTest::mouseClick(up, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(angle->value, 7.0f);
        // Down in the field with Shift takes the large step back.
        auto* edit = field->findChild<QLineEdit*>();
        QTest::keyClick(edit, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(angle->value, 2.0f);
        QCOMPARE(edit->text().toStdString(), host::macRomanToUtf8(angle->text));
    }

    void thePreferencesDialogsOkStoresTheValues() {
        startAndShow();
        QToolButton* tool = window_->toolButton(kTool);
        tool->click();
        bool sawModalWindow = false;
        QTimer::singleShot(0, this, [&] {
            workbench::DialogWindow* dialog = window_->dialogWindow(host_->modalDialog());
            QVERIFY(dialog);
            sawModalWindow = dialog->isVisible() && dialog->isModal();
            typeInto(dialog, 13, QStringLiteral("3"));
            QTimer::singleShot(0, this, [&] {
                workbench::DialogWindow* again = window_->dialogWindow(host_->modalDialog());
                QVERIFY(again);
                auto* swap = qobject_cast<QCheckBox*>(again->itemWidget(10));
                QVERIFY(swap);
                swap->click();
                QTimer::singleShot(0, this, [&] {
                    auto* ok = qobject_cast<QPushButton*>(window_->dialogWindow(host_->modalDialog())->itemWidget(1));
                    QVERIFY(ok);
                    ok->click();
                });
            });
        });
        QTest::mouseDClick(tool, Qt::LeftButton);
        QVERIFY(sawModalWindow);
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
        QVERIFY(!host_->modalDialog());
        QCOMPARE(host_->dialogs().dialogs().size(), std::size_t{1});
        QVERIFY(std::abs(preference(*host_, "CtrlLongueur") - 3.0) < 1e-6);
        QCOMPARE(preference(*host_, "ShiftAltInverse"), 1.0);
    }

    void closingAModalWindowCancelsIt() {
        startAndShow();
        QToolButton* tool = window_->toolButton(kTool);
        tool->click();
        QTimer::singleShot(0, this, [&] {
            workbench::DialogWindow* dialog = window_->dialogWindow(host_->modalDialog());
            QVERIFY(dialog);
            typeInto(dialog, 13, QStringLiteral("3"));
            QTimer::singleShot(0, this, [&] { window_->dialogWindow(host_->modalDialog())->close(); });
        });
        QTest::mouseDClick(tool, Qt::LeftButton);
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
        QVERIFY(!host_->modalDialog());
        QVERIFY(std::abs(preference(*host_, "CtrlLongueur") - 3.0) > 0.1);
    }

    void theWindowMenuComesFromTheHostsGroups() {
        startAndShow();
        QMenu* windowMenu = nullptr;
        for (QAction* action : window_->menuBar()->actions())
            if (action->text() == QStringLiteral("&Window")) windowMenu = action->menu();
        QVERIFY(windowMenu);
        // The texts are brought up to date before the menu opens: Show, then Hide once shown.
        for (const char* text : {"Show Tesk•Orvane", "Hide Tesk•Orvane"}) {
            emit windowMenu->aboutToShow();
            QAction* found = nullptr;
            for (QAction* action : windowMenu->findChildren<QAction*>())
                if (action->text() == QString::fromUtf8(text)) found = action;
            QVERIFY2(found, text);
            found->trigger();
        }
        QVERIFY(!host_->dialogs().dialog(host_->panel())->visible);
        QVERIFY(!window_->dialogWindow(host_->panel())->isVisible());
    }

    void undoAfterAClickRemovesTheSegmentAndDrawingGoesOn() {
        startAndShow();
        window_->toolButton(kTool)->click();
        QWidget* canvas = window_->canvas();
        moveAndClick(canvas, 0, 0);
        moveAndClick(canvas, 30, 0);
        moveAndClick(canvas, 34, 30);
        QCOMPARE(onlyArt(*host_)->shape.segments.size(), std::size_t{3});
        QAction* undo = menuAction("&Edit", "&Undo");
        QVERIFY(undo && undo->isEnabled());
        undo->trigger();
        QCOMPARE(onlyArt(*host_)->shape.segments.size(), std::size_t{2});
        QVERIFY(menuAction("&Edit", "&Redo")->isEnabled());
        // The tool's path came back under a new handle: the next clicks start a new polyline.
        moveAndClick(canvas, 60, 30);
        moveAndClick(canvas, 90, 0);
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
        QCOMPARE(host_->document().artCount(), std::size_t{2});
        QVERIFY(!menuAction("&Edit", "&Redo")->isEnabled());
    }

    void anSvgRoundTripKeepsThePaths() {
        startAndShow();
        host_->document().addSvgPath("M -100 0 C -50 80 50 80 100 0 L 100 -50");
        host_->document().addSvgPath("M 0 0 L 40 0 L 40 40 Z");
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        std::string file = folder.filePath(QStringLiteral("round.svg")).toStdString();
        window_->act([&] { host_->saveSvg(file); });
        window_->act([&] { host_->openSvg(file); });
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
        std::vector<host::PathShape> shapes;
        host_->document().forEachArt([&](AIArtHandle, const host::Document::Art& art) { shapes.push_back(art.shape); });
        QCOMPARE(shapes.size(), std::size_t{2});
        QCOMPARE(shapes[0].segments.size(), std::size_t{3});
        QCOMPARE(shapes[0].segments[0].out.v, 80.0f);
        QVERIFY(!shapes[0].closed);
        QVERIFY(shapes[1].closed);
        QCOMPARE(shapes[1].segments.size(), std::size_t{3});
        // Opening is one step: undo brings back the document as it was, here the same paths.
        QVERIFY(host_->canUndo());
    }

    void theViewIsTheHostsZoomAndCentre() {
        startAndShow();
        auto* canvas = window_->canvas();
        QPointF at(600, 150);
        AIRealPoint under = canvas->artworkPoint(at);
        QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(canvas, &wheel);
        QVERIFY(host_->views().zoom() > 1.0f);
        // The point under the cursor stays there, to the pixel.
        AIRealPoint after = canvas->artworkPoint(at);
        QVERIFY(std::abs(after.h - under.h) <= 1.0f / host_->views().zoom());
        QVERIFY(std::abs(after.v - under.v) <= 1.0f / host_->views().zoom());
        menuAction("&View", "&100 %")->trigger();
        QCOMPARE(host_->views().zoom(), 1.0f);
        host_->document().addSvgPath("M 1000 1000 L 1400 1200");
        menuAction("&View", "&Fit")->trigger();
        QCOMPARE(host_->views().center().h, 1200.0f);
        QCOMPARE(host_->views().center().v, 1100.0f);
        QVERIFY(host_->views().artworkToView({1000, 1000})->h >= 0);
        QVERIFY(host_->views().artworkToView({1400, 1200})->h < canvas->width());
    }

    void theHelpMenuOpensTheAboutBoxFromItsSubmenu() {
        startAndShow();
        QMenu* help = nullptr;
        for (QAction* action : window_->menuBar()->actions())
            if (action->text() == QStringLiteral("&Help")) help = action->menu();
        QVERIFY(help);
        emit help->aboutToShow();
        QAction* about = nullptr;
        for (QAction* action : help->findChildren<QAction*>())
            if (action->text() == QStringLiteral("Tesk•Orvane…")) about = action;
        QVERIFY(about);
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            workbench::DialogWindow* box = window_->dialogWindow(host_->modalDialog());
            QVERIFY(box);
            shown = box->isVisible();
            // Its draw procedure's picture is painted with the dialog.
            QVERIFY(!host_->dialogs().dialog(box->dialog())->drawing.empty());
            QPushButton* ok = nullptr;
            for (QPushButton* button : box->findChildren<QPushButton*>())
                if (button->isVisible()) ok = button;
            QVERIFY(ok);
            ok->click();
        });
        about->trigger();
        QVERIFY(shown);
        QVERIFY(!host_->modalDialog());
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
    }

private:
    QAction* menuAction(const char* menu, const char* text) const {
        for (QAction* top : window_->menuBar()->actions())
            if (top->text() == QString::fromUtf8(menu))
                for (QAction* action : top->menu()->actions())
                    if (action->text() == QString::fromUtf8(text)) return action;
        return nullptr;
    }
};

QTEST_MAIN(WorkbenchTests)
#include "WorkbenchTests.moc"
