// The workbench driven as a person would: mouse and keys on the canvas, the
// toolbox, the panel's widgets and the modal dialogs, checked on the host's model.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

#include "CrashJournal.h"
#include "MainWindow.h"
#include "PluginFacts.h"
#include "WorkbenchTestSupport.h"
#include "host/Host.h"
#include "host/document/Svg.h"
#include "host/text/MacRoman.h"
#include "host/view/FrameRenderer.h"

using workbench::Canvas;
using workbench::MainWindow;
using workbench_test::mouse;

namespace {

using plugin_facts::kAngleField;
using plugin_facts::kLengthField;
using plugin_facts::kPreferencePrefix;
using plugin_facts::kToolName;

/// The settings key of the panel's shown state in the workbench's own settings.
const QString kPanelVisibleSetting =
    QStringLiteral("palettes/") + QLatin1String(plugin_facts::kPanelName) + QStringLiteral("/visible");

/// The canvas pixel of an artwork point at the initial view (zoom 1, centre 0, 0): the view is the canvas.
QPointF pixelOf(const QWidget* canvas, double h, double v) {
    return {h + canvas->width() / 2 + 0.5, canvas->height() / 2 - v + 0.5};
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

/// The items of a dialog window whose text the widget can't show whole, each as "ID: text".
QStringList cutTexts(workbench::DialogWindow* window) {
    QStringList cut;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        QVariant id = widget->property("admItemID");
        if (!id.isValid() || !widget->isVisible()) continue;
        QFontMetrics metrics(widget->font());
        QString text;
        int room = widget->width();
        if (auto* edit = widget->findChild<QLineEdit*>()) {
            text = edit->text();
            QMargins margins = edit->textMargins();
            // A line edit keeps two pixels each side for its cursor, inside its frame.
            int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
            room = edit->width() - margins.left() - margins.right() - 4 - 2 * frame;
            metrics = QFontMetrics(edit->font());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            room = label->contentsRect().width();
            if (!text.isEmpty() && metrics.height() > label->height())
                cut << QString("%1: %2 (too low)").arg(id.toInt()).arg(text);
        } else if (auto* shown = qobject_cast<QPlainTextEdit*>(widget)) {
            // A long text scrolls down; no line may run off to the side.
            if (shown->horizontalScrollBar()->maximum() > 0) cut << QString("%1: runs off the side").arg(id.toInt());
            continue;
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            text = check->text();
            room = check->width() - check->style()->pixelMetric(QStyle::PM_IndicatorWidth) -
                   check->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            text = button->text();
            room = button->width() - 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            text = combo->currentText();
            room = combo->width() - combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        }
        text.replace(QStringLiteral("&&"), QStringLiteral("&"));
        if (!text.isEmpty() && metrics.horizontalAdvance(text) > room)
            cut << QString("%1: %2").arg(id.toInt()).arg(text);
    }
    // The title beside the window manager's buttons.
    QFont title = QApplication::font();
    title.setBold(true);
    if (QFontMetrics(title).horizontalAdvance(window->windowTitle()) + 3 * 16 > window->width())
        cut << QStringLiteral("title: ") + window->windowTitle();
    return cut;
}

/// Answers the modal windows as they open, each with the next answer, one at a time; how many were answered
/// is counted in answered.
void answerModals(QObject* context, std::vector<std::function<void(QWidget*)>> answers,
                  std::shared_ptr<std::size_t> answered) {
    auto* poll = new QTimer(context);
    auto pending = std::make_shared<std::vector<std::function<void(QWidget*)>>>(std::move(answers));
    auto last = std::make_shared<QPointer<QWidget>>();
    QObject::connect(poll, &QTimer::timeout, context, [poll, pending, last, answered] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == *last) return;
        *last = modal;
        if (*answered == pending->size()) return;
        (*pending)[(*answered)++](modal);
        if (*answered == pending->size()) poll->deleteLater();
    });
    poll->start(10);
}

void clickButton(QWidget* box, QMessageBox::StandardButton which) {
    auto* message = qobject_cast<QMessageBox*>(box);
    QVERIFY(message);
    message->button(which)->click();
}

void rejectDialog(QWidget* dialog) {
    QVERIFY(qobject_cast<QDialog*>(dialog));
    qobject_cast<QDialog*>(dialog)->reject();
}

void writeText(const QString& file, const char* text) {
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
}

std::vector<std::vector<AIRealPoint>> anchorsOf(const host::Document& document) {
    std::vector<std::vector<AIRealPoint>> all;
    document.forEachArt([&](AIArtHandle, const host::Document::Art& art) {
        all.emplace_back();
        for (const AIPathSegment& segment : art.shape.segments) all.back().push_back(segment.p);
    });
    return all;
}

bool sameAnchors(const std::vector<std::vector<AIRealPoint>>& a, const std::vector<std::vector<AIRealPoint>>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                          [](AIRealPoint p, AIRealPoint q) { return p.h == q.h && p.v == q.v; });
    });
}

/// A file whose current layer is a locked "Background" below a "Notes" layer, each holding a line.
constexpr const char* kLayeredFile =
    "<svg xmlns='http://www.w3.org/2000/svg' xmlns:inkscape='http://www.inkscape.org/namespaces/inkscape'"
    " xmlns:sodipodi='http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd' width='400' height='400'>"
    "<sodipodi:namedview inkscape:current-layer='background'/>"
    "<g id='background' inkscape:groupmode='layer' inkscape:label='Background' sodipodi:insensitive='true'>"
    "<path d='M 0 0 L 100 0'/></g>"
    "<g id='notes' inkscape:groupmode='layer' inkscape:label='Notes'><path d='M 0 50 L 100 50'/></g></svg>";
constexpr const char* kPlainFile =
    "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='400'><path d='M 10 10 L 90 90'/></svg>";

double preference(host::Host& host, const char* key) {
    std::optional<host::PreferenceStore::Value> value = host.preferences().get(kPreferencePrefix, key);
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
    /// The plug-in's settings for a case: one decimal, the panel shown or hidden at start.
    void storeSettings(bool panelVisible) {
        host_->preferences().put(kPreferencePrefix, plugin_facts::kPrecisionKey, std::int32_t{1});
        host_->preferences().put(kPreferencePrefix, plugin_facts::kPanelVisibleKey, panelVisible);
    }
    ADMDialogRef thePanel() const { return plugin_facts::panelOf(host_->dialogs()); }

private slots:
    void initTestCase() {
        // The workbench's settings go to a folder of the tests' own, never the person's.
        QStandardPaths::setTestModeEnabled(true);
    }

    void init() {
        // Each case starts without the settings an earlier one kept.
        QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
        settings.clear();
        settings.sync();
        open();
    }
    void cleanup() {
        window_.reset();
        host_.reset();
    }

    void theToolboxMirrorsTheHostsTools() {
        startAndShow();
        QToolButton* selection = window_->toolButton("");
        QToolButton* tool = window_->toolButton(kToolName);
        QVERIFY(selection && tool);
        QVERIFY(selection->isChecked());
        QCOMPARE(tool->toolTip(), QString::fromUtf8(plugin_facts::kToolTip));
        QVERIFY(!tool->icon().isNull());
        tool->click();
        QCOMPARE(host_->tools().selectedTool().name, std::string(kToolName));
        QVERIFY(tool->isChecked() && !selection->isChecked());
        selection->click();
        QVERIFY(host_->tools().selected() == host_->tools().selectionTool());
    }

    void drawingATriangleWithTheMouseGivesAClosedPath() {
        startAndShow();
        window_->toolButton(kToolName)->click();
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
        window_->toolButton(kToolName)->click();
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
        host_->document().forEachArt(
            [&](AIArtHandle, const host::Document::Art& art) { selected += (art.attributes & kArtSelected) ? 1 : 0; });
        QCOMPARE(selected, 1);
        QApplication::setActiveWindow(window_.get());
        QTest::keyClick(window_.get(), Qt::Key_Delete);
        QCOMPARE(host_->document().artCount(), std::size_t{1});
        // The art left is the one that was not selected.
        host_->document().forEachArt(
            [&](AIArtHandle, const host::Document::Art& art) { QCOMPARE(art.shape.segments[0].p.v, 100.0f); });
    }

    void typingInThePanelPlacesTheTypedSegment() {
        storeSettings(true);
        startAndShow();
        ADMDialogRef panel = thePanel();
        QVERIFY(panel);
        workbench::DialogWindow* window = window_->dialogWindow(panel);
        QVERIFY(window && window->isVisible());
        // A click on the strip selects the tool.
        QWidget* strip = window->itemWidget(plugin_facts::kWakeItem);
        QVERIFY(strip);
        // A corner of the strip that no other item covers.
        QPoint corner = strip->geometry().topLeft() + QPoint(1, 1);
        QWidget* target = window->childAt(corner);
        QVERIFY(target);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(window, corner));
        QCOMPARE(host_->tools().selectedTool().name, std::string(kToolName));

        QWidget* canvas = window_->canvas();
        moveAndClick(canvas, 0, 0);
        typeInto(window, kLengthField, QStringLiteral("10"));
        typeInto(window, kAngleField, QStringLiteral("90"));
        moveAndClick(canvas, 40, -7);
        const host::Document::Art* art = onlyArt(*host_);
        QVERIFY(art);
        QCOMPARE(art->shape.segments.size(), std::size_t{2});
        QVERIFY(std::abs(art->shape.segments[1].p.h) < 1e-4);
        QVERIFY(std::abs(art->shape.segments[1].p.v - 28.346457f) < 1e-4);
        // The field shows the value the model holds.
        auto* edit = window->itemWidget(kLengthField)->findChild<QLineEdit*>();
        QCOMPARE(edit->text().toStdString(),
                 host::macRomanToUtf8(host_->dialogs().item(host_->dialogs().findItem(panel, kLengthField))->text));

        // The close box hides the panel through the model.
        window->close();
        QVERIFY(!host_->dialogs().dialog(panel)->visible);
        QVERIFY(!window->isVisible());
    }

    void theArrowsOfTheAngleFieldStepItsValue() {
        storeSettings(true);
        startAndShow();
        ADMDialogRef panel = thePanel();
        QVERIFY(panel);
        workbench::DialogWindow* window = window_->dialogWindow(panel);
        QVERIFY(window && window->isVisible());
        // The fields take actions once the tool is selected.
        window_->act([&] { host_->selectTool(kToolName); });
        QWidget* field = window->itemWidget(kAngleField);
        QVERIFY(field && field->isEnabled());
        auto* up = field->findChild<QToolButton*>(QStringLiteral("stepUp"));
        QVERIFY(up && up->isVisible());
        QTest::mouseClick(up, Qt::LeftButton);
        QTest::mouseClick(up, Qt::LeftButton);
        const host::DialogManager::Item* angle = host_->dialogs().item(host_->dialogs().findItem(panel, kAngleField));
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
        QToolButton* tool = window_->toolButton(kToolName);
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
        QToolButton* tool = window_->toolButton(kToolName);
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
        for (const char* text : {plugin_facts::kShowPanelItem, plugin_facts::kHidePanelItem}) {
            emit windowMenu->aboutToShow();
            QAction* found = nullptr;
            for (QAction* action : windowMenu->findChildren<QAction*>())
                if (action->text() == QString::fromUtf8(text)) found = action;
            QVERIFY2(found, text);
            found->trigger();
        }
        QVERIFY(!host_->dialogs().dialog(thePanel())->visible);
        QVERIFY(!window_->dialogWindow(thePanel())->isVisible());
    }

    void undoAfterAClickRemovesTheSegmentAndDrawingGoesOn() {
        startAndShow();
        window_->toolButton(kToolName)->click();
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

    void theArtworkRepaintedWhereItChangedIsTheFullRepaint() {
        startAndShow();
        window_->toolButton(kToolName)->click();
        auto* canvas = window_->canvas();
        std::mt19937 random(99);
        std::uniform_real_distribution<float> across(-host::DocumentViews::kWidth / 2.0f,
                                                     host::DocumentViews::kWidth / 2.0f);
        std::uniform_real_distribution<float> down(-host::DocumentViews::kHeight / 2.0f,
                                                   host::DocumentViews::kHeight / 2.0f);
        std::uniform_real_distribution<float> near(-40, 40);
        // Curved paths crossing each other and the canvas's edges, so that repainted pixels hold several.
        auto randomPath = [&] {
            host::PathShape shape;
            AIRealPoint from{across(random), down(random)};
            for (int i = 0; i < 4; ++i) {
                AIRealPoint p{from.h + near(random), from.v + near(random)};
                AIRealPoint handle{near(random) / 2, near(random) / 2};
                shape.segments.push_back(
                    {p, {p.h - handle.h, p.v - handle.v}, {p.h + handle.h, p.v + handle.v}, false});
            }
            shape.closed = random() % 2 == 0;
            return shape;
        };
        host_->edit([&](host::Document& document) {
            for (int i = 0; i < 200; ++i) document.addPath(randomPath());
        });
        // Undo never takes the whole document away.
        host_->history().clear();
        canvas->grab();
        auto anyArt = [&] {
            std::vector<AIArtHandle> all;
            host_->document().forEachArt([&](AIArtHandle art, const host::Document::Art&) { all.push_back(art); });
            return all.empty() ? nullptr : all[random() % all.size()];
        };
        QPointF last = pixelOf(canvas, 0, 0);
        // Long enough for the rarest fault to show: the edge of a repainted rectangle cutting a stroke, one
        // level of antialiasing off a full paint's, comes up at edit 381 with this seed.
        for (int edit = 0; edit < 400; ++edit) {
            switch (random() % 6) {
                case 0:
                case 1: {
                    // A click of the tool near the last, now and then ending the polyline.
                    const double right = canvas->width() / 2.0 - 1, top = canvas->height() / 2.0 - 1;
                    const QPointF middle = pixelOf(canvas, 0, 0);
                    last = pixelOf(canvas, std::clamp(last.x() - middle.x() + near(random), -right, right),
                                   std::clamp(middle.y() - last.y() + near(random), -top, top));
                    mouse(canvas, QEvent::MouseMove, last);
                    mouse(canvas, QEvent::MouseButtonPress, last, Qt::LeftButton);
                    mouse(canvas, QEvent::MouseButtonRelease, last, Qt::LeftButton);
                    if (random() % 4 == 0)
                        mouse(canvas, QEvent::MouseMove, last, Qt::NoButton, Qt::ControlModifier | Qt::AltModifier);
                    break;
                }
                case 2:
                    if (AIArtHandle art = anyArt())
                        host_->edit([&](host::Document& document) { document.disposeArt(art); });
                    break;
                case 3: {
                    AIArtHandle art = anyArt();
                    if (!art) break;
                    bool selected = host_->document().findArt(art)->attributes & kArtSelected;
                    host_->edit([&](host::Document& document) { document.setSelected(art, !selected); });
                    break;
                }
                case 4:
                    host_->edit([&](host::Document& document) { document.addPath(randomPath()); });
                    break;
                default:
                    random() % 2 ? host_->undo() : host_->redo();
                    break;
            }
            QImage repainted = canvas->grab().toImage();
            // A new canvas paints all the art afresh; the annotations painted over both are the same.
            workbench::Canvas fresh(*host_, [](const std::function<void()>& action) { action(); });
            fresh.resize(canvas->size());
            QImage full = fresh.grab().toImage();
            QCOMPARE(repainted.size(), full.size());
            if (repainted == full) continue;
            int differing = 0;
            for (int y = 0; y < full.height(); ++y)
                for (int x = 0; x < full.width(); ++x) differing += repainted.pixel(x, y) != full.pixel(x, y);
            QFAIL(qPrintable(QStringLiteral("%1 pixels differ after edit %2").arg(differing).arg(edit)));
        }
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
        // The opened file is a document of its own: nothing before it can be undone.
        QVERIFY(!host_->canUndo());
    }

    void whatAFileHeldThatWasPassedOverIsListedOnceAndSaveAsksBeforeLosingAnEdit() {
        startAndShow();
        QTemporaryDir folder;
        QString file = folder.filePath(QStringLiteral("marks.svg"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(
            "<svg xmlns='http://www.w3.org/2000/svg' width='100pt' height='100pt' viewBox='0 0 100 100'>"
            "<defs><line id='tick' x2='5'/></defs><rect width='-1' height='2'/><use href='#tick'/></svg>");
        out.close();
        QVERIFY(window_->openFile(file));
        QVERIFY(window_->statusBar()->currentMessage().contains(QStringLiteral("1 element(s) passed over")));
        auto* listed = window_->findChild<QMessageBox*>(QStringLiteral("openWarnings"));
        QVERIFY(listed && listed->isVisible());
        QVERIFY(!listed->isModal() || listed->windowModality() != Qt::ApplicationModal);
        QVERIFY(listed->detailedText().contains(QStringLiteral("<rect> at offset")));
        listed->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!window_->findChild<QMessageBox*>(QStringLiteral("openWarnings")));

        // The instance's art moved can't go back into the file: Save asks, and a cancel writes nothing.
        QByteArray before = [&] {
            QFile in(file);
            return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        }();
        AIArtHandle instance = host_->document().artAt(0);
        host::PathShape moved = host_->document().findArt(instance)->shape;
        moved.segments[0].p.h += 1;
        window_->act([&] { host_->edit([&](host::Document& document) { document.setShape(instance, moved); }); });
        bool asked = false;
        QTimer::singleShot(0, this, [&asked] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            asked = box && box->objectName() == QStringLiteral("saveOverOriginal");
            if (box) box->button(QMessageBox::Cancel)->click();
        });
        menuAction("&File", "&Save")->trigger();
        QVERIFY(asked);
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), before);
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
            if (action->text() == QString::fromUtf8(plugin_facts::kAboutItem)) about = action;
        QVERIFY(about);
        bool shown = false;
        QStringList aboutCut;
        QTimer::singleShot(0, this, [&] {
            workbench::DialogWindow* box = window_->dialogWindow(host_->modalDialog());
            QVERIFY(box);
            shown = box->isVisible();
            // Its draw procedure's picture is painted with the dialog.
            QVERIFY(!host_->dialogs().dialog(box->dialog())->drawing.empty());
            aboutCut = cutTexts(box);
            QPushButton* ok = nullptr;
            for (QPushButton* button : box->findChildren<QPushButton*>())
                if (button->isVisible()) ok = button;
            QVERIFY(ok);
            ok->click();
        });
        about->trigger();
        QVERIFY(shown);
        QCOMPARE(aboutCut.join(", "), QString());
        QVERIFY(!host_->modalDialog());
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
    }

    void everyTextOfEveryDialogFitsItsItem() {
        storeSettings(true);
        startAndShow();
        ADMDialogRef panel = thePanel();
        workbench::DialogWindow* palette = window_->dialogWindow(panel);
        QVERIFY(palette && palette->isVisible());
        window_->act([&] { host_->selectTool(kToolName); });
        typeInto(palette, kLengthField, QStringLiteral("35.48"));
        QCOMPARE(palette->itemWidget(kLengthField)->findChild<QLineEdit*>()->text(), QStringLiteral("35,48 mm"));
        QCOMPARE(cutTexts(palette).join(", "), QString());
        // Every page of the help: a text longer than its item scrolls.
        window_->act([&] { host_->chooseDialogMenu(panel, plugin_facts::kHelpEntry); });
        bool scrolled = false;
        for (int page = 1; page <= plugin_facts::kHelpPages; ++page) {
            QStringList cut = cutTexts(palette);
            QVERIFY2(cut.isEmpty(), qPrintable(QString("page %1: %2").arg(page).arg(cut.join(", "))));
            for (auto* text : palette->findChildren<QPlainTextEdit*>()) {
                QScrollBar* bar = text->verticalScrollBar();
                if (scrolled || !text->isVisible() || bar->maximum() == 0) continue;
                scrolled = true;
                // The wheel over the text (under the item's click layer) scrolls it, and so do the keys.
                QPoint middle = text->geometry().center();
                QWidget* under = palette->childAt(middle);
                QVERIFY(under);
                QPointF at = under->mapFrom(palette, middle);
                QWheelEvent wheel(at, under->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                                  Qt::NoScrollPhase, false);
                QCoreApplication::sendEvent(under, &wheel);
                QVERIFY(bar->value() > 0);
                QTest::keyClick(text, Qt::Key_Home);
                QCOMPARE(bar->value(), 0);
                QTest::keyClick(text, Qt::Key_PageDown);
                QVERIFY(bar->value() > 0);
            }
            window_->act([&] { host_->clickItem(panel, plugin_facts::kNextHelpPageItem); });
        }
        QVERIFY(scrolled);
        // A tool window with a title and a close box only.
        Qt::WindowFlags flags = palette->windowFlags();
        QVERIFY(flags & Qt::CustomizeWindowHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

        // The preferences, and the custom scale dialog over them.
        QStringList cutPrefs, cutScale;
        QStringList scaleStops;  // each tab stop's class, in order
        QWidget* focusAfterTab = nullptr;
        QWidget* secondField = nullptr;
        float typedN = 0, typedD = 0;
        bool separatorsInert = false;
        int bandBelowItems = -1;
        int leftOfItems = -1;
        QTimer::singleShot(0, this, [&] {
            workbench::DialogWindow* prefs = window_->dialogWindow(host_->modalDialog());
            QVERIFY(prefs);
            cutPrefs = cutTexts(prefs);
            // No blank band below the items: the margin below them is the one at their left.
            int lowest = 0, left = prefs->width();
            for (QWidget* item : prefs->findChildren<QWidget*>())
                if (item->property("admItemID").isValid() && item->isVisible()) {
                    lowest = std::max(lowest, item->geometry().bottom() + 1);
                    left = std::min(left, item->geometry().left());
                }
            bandBelowItems = prefs->height() - lowest;
            leftOfItems = left;
            // The scale list's separator rows can't be chosen.
            for (QComboBox* combo : prefs->findChildren<QComboBox*>()) {
                auto* rows = qobject_cast<QStandardItemModel*>(combo->model());
                for (int i = 0; rows && i < combo->count(); ++i)
                    if (combo->itemData(i, Qt::AccessibleDescriptionRole).toString() == QStringLiteral("separator"))
                        separatorsInert = rows->item(i)->flags() == Qt::NoItemFlags;
            }
            QTimer::singleShot(0, this, [&] {
                workbench::DialogWindow* scale = window_->dialogWindow(host_->modalDialog());
                QVERIFY(scale && scale != prefs);
                cutScale = cutTexts(scale);
                QList<QWidget*> stops = scale->tabStops();
                for (QWidget* stop : stops)
                    scaleStops << (qobject_cast<QPushButton*>(stop) ? QStringLiteral("button")
                                   : qobject_cast<QLineEdit*>(stop) ? QStringLiteral("field")
                                                                    : QStringLiteral("picture or label"));
                if (stops.size() >= 2) {
                    QApplication::setActiveWindow(scale);
                    QWidget* first = stops[0]->focusProxy() ? stops[0]->focusProxy() : stops[0];
                    first->setFocus();
                    secondField = stops[1]->focusProxy() ? stops[1]->focusProxy() : stops[1];
                    // Click N, type 1, Tab, type 5, Tab: N is 1 and D is 5.
                    QTest::keyClick(first, Qt::Key_A, Qt::ControlModifier);
                    QTest::keyClicks(first, QStringLiteral("1"));
                    QTest::keyClick(first, Qt::Key_Tab);
                    focusAfterTab = scale->focusWidget();
                    QTest::keyClicks(focusAfterTab, QStringLiteral("5"));
                    QTest::keyClick(focusAfterTab, Qt::Key_Tab);
                    const host::DialogManager& dialogs = host_->dialogs();
                    typedN = dialogs.item(dialogs.findItem(scale->dialog(), 10))->value;
                    typedD = dialogs.item(dialogs.findItem(scale->dialog(), 12))->value;
                }
                window_->act([&] { host_->clickItem(host_->modalDialog(), 2); });
                QTimer::singleShot(0, this, [&] { window_->act([&] { host_->clickItem(host_->modalDialog(), 2); }); });
            });
            window_->act([&] { host_->pickEntry(host_->modalDialog(), 8, 26); });
        });
        window_->act([&] { host_->editTool(); });
        QCOMPARE(cutPrefs.join(", "), QString());
        QCOMPARE(cutScale.join(", "), QString());
        QVERIFY(separatorsInert);
        QVERIFY2(
            bandBelowItems >= 0 && bandBelowItems <= leftOfItems,
            qPrintable(QString("%1 pixels below the items, %2 at their left").arg(bandBelowItems).arg(leftOfItems)));
        // Tab goes from the fields to the buttons, never to a label or a picture.
        QCOMPARE(scaleStops.join(" "), QStringLiteral("field field button button"));
        QVERIFY(focusAfterTab && focusAfterTab == secondField);
        QCOMPARE(typedN, 1.0f);
        QCOMPARE(typedD, 5.0f);
    }

    void quitAsksToSaveThenClosesEveryWindow() {
        storeSettings(true);
        startAndShow();
        workbench::DialogWindow* palette = window_->dialogWindow(thePanel());
        QVERIFY(palette && palette->isVisible());
        // Wholly on the screen.
        QVERIFY(palette->screen()->availableGeometry().contains(palette->geometry()));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Untitled[*] — Orvane Workbench"));
        QVERIFY(!window_->isWindowModified());
        window_->toolButton(kToolName)->click();
        // With the panel shown, its length is what a click places.
        typeInto(palette, kLengthField, QStringLiteral("10"));
        moveAndClick(window_->canvas(), 0, 0);
        moveAndClick(window_->canvas(), 50, 0);
        QVERIFY(window_->isWindowModified());

        auto answer = [this](QMessageBox::StandardButton with, bool* asked) {
            QTimer::singleShot(0, this, [with, asked] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                *asked = box != nullptr;
                if (box) box->button(with)->click();
            });
        };
        bool asked = false;
        answer(QMessageBox::Cancel, &asked);
        QVERIFY(!window_->close());
        QVERIFY(asked && window_->isVisible() && palette->isVisible());
        QCOMPARE(host_->document().artCount(), std::size_t{1});

        // Saved, the document is no longer modified; an undo makes it so again.
        QTemporaryDir folder;
        QString file = folder.filePath(QStringLiteral("kept.svg"));
        QVERIFY(window_->saveTo(file));
        QCOMPARE(window_->windowTitle(), QStringLiteral("kept.svg[*] — Orvane Workbench"));
        QVERIFY(!window_->isWindowModified());
        QVERIFY(window_->statusBar()->currentMessage().contains(QStringLiteral("Saved")));
        menuAction("&Edit", "&Undo")->trigger();
        QVERIFY(window_->isWindowModified());
        menuAction("&Edit", "&Redo")->trigger();
        QVERIFY(!window_->isWindowModified());
        // The redone path is new art: two clicks start another polyline.
        moveAndClick(window_->canvas(), 50, 50);
        moveAndClick(window_->canvas(), 90, 90);
        QVERIFY(window_->isWindowModified());

        asked = false;
        answer(QMessageBox::Discard, &asked);
        QVERIFY(window_->close());
        QVERIFY(asked);
        QVERIFY(!palette->isVisible());
        QVERIFY(!window_->isVisible());
        // The workbench's own settings keep the panel's place and its shown state.
        QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
        QVERIFY(settings.value(kPanelVisibleSetting).toBool());
    }

    void theViewFollowsTheCanvasAndOpeningFits() {
        startAndShow();
        window_->resize(1000, 800);
        QCoreApplication::processEvents();
        Canvas* canvas = window_->canvas();
        QCOMPARE(int(host_->views().width()), canvas->width());
        QCOMPARE(int(host_->views().height()), canvas->height());
        QVERIFY(canvas->width() > host::DocumentViews::kWidth);
        AIRect bounds = host_->views().bounds();
        QCOMPARE(int(bounds.right), canvas->width());
        QCOMPARE(int(bounds.bottom), canvas->height());

        QTemporaryDir folder;
        QString file = folder.filePath(QStringLiteral("far.svg"));
        host_->document().addSvgPath("M 5000 5000 L 5400 5300");
        QVERIFY(window_->saveTo(file));
        QVERIFY(window_->openFile(file));
        for (AIRealPoint corner : {AIRealPoint{5000, 5000}, AIRealPoint{5400, 5300}}) {
            AIPoint at = *host_->views().artworkToView(corner);
            QVERIFY(at.h >= 0 && at.h < canvas->width() && at.v >= 0 && at.v < canvas->height());
        }
        // A file that can't be opened says so in a message box, and leaves the drawing as it was.
        bool told = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            told = box && box->text().contains(QStringLiteral("missing.svg"));
            if (box) box->accept();
        });
        QVERIFY(!window_->openFile(folder.filePath(QStringLiteral("missing.svg"))));
        QVERIFY(told);
        QCOMPARE(host_->document().artCount(), std::size_t{1});
    }

    void theAnnotationsFollowAClickAndTheSelectionToolShowsTheArrow() {
        startAndShow();
        window_->toolButton(kToolName)->click();
        QWidget* canvas = window_->canvas();
        moveAndClick(canvas, 0, 0);
        moveAndClick(canvas, 60, 0);
        moveAndClick(canvas, 60, 60);
        // The click that closes the path: the frame is the one a movement would draw there, no stale band.
        moveAndClick(canvas, 0, 0);
        nlohmann::json afterClick = host::toJson(host_->frame());
        mouse(canvas, QEvent::MouseMove, pixelOf(canvas, 0, 0));
        QCOMPARE(afterClick, host::toJson(host_->frame()));
        QVERIFY(canvas->cursor().shape() == Qt::BitmapCursor);
        window_->toolButton("")->click();
        QCOMPARE(canvas->cursor().shape(), Qt::ArrowCursor);
    }

    void exportPngLeavesTheLabelsOnTheScreen() {
        startAndShow();
        window_->toolButton(kToolName)->click();
        QWidget* canvas = window_->canvas();
        moveAndClick(canvas, -100, 0);
        moveAndClick(canvas, 0, 50);
        mouse(canvas, QEvent::MouseMove, pixelOf(canvas, 80, -30));
        QVERIFY(!host_->frame().empty());
        QTemporaryDir folder;
        QString exported = folder.filePath(QStringLiteral("export.png"));
        QString withLabels = folder.filePath(QStringLiteral("labels.png"));
        QVERIFY(window_->exportTo(exported));
        host::FrameRenderer renderer(host_->document(), host_->views(), host_->drawer().metrics());
        renderer.write(withLabels.toStdString(), host_->frame());
        QImage picture(exported), labelled(withLabels);
        QCOMPARE(picture.size(), canvas->size());
        QVERIFY(picture != labelled);
        // The art is there: the first segment's middle is dark.
        QPoint middle = pixelOf(canvas, -50, 25).toPoint();
        QVERIFY(qGray(picture.pixel(middle)) < 200);
        // Nothing but the art: every dark pixel is near one of the two segments, none near the labels.
        QPoint label = pixelOf(canvas, 80, -30).toPoint();
        for (int y = label.y() - 20; y < label.y() + 20; ++y)
            for (int x = label.x() - 40; x < label.x() + 40; ++x) QCOMPARE(qGray(picture.pixel(x, y)), 255);
    }

    void thePanelComesBackWhereItWasAndAsItWas() {
        {
            QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
            settings.setValue(kPanelVisibleSetting, true);
            settings.setValue(
                QStringLiteral("palettes/") + QLatin1String(plugin_facts::kPanelName) + QStringLiteral("/position"),
                QPoint(100, 120));
        }
        storeSettings(false);
        startAndShow();
        workbench::DialogWindow* palette = window_->dialogWindow(thePanel());
        QVERIFY(palette && palette->isVisible());
        QVERIFY(host_->dialogs().dialog(thePanel())->visible);
        QCOMPARE(palette->pos(), QPoint(100, 120));
        // The menu item that showed it is in the journal: a replay shows it too.
        const std::vector<std::string>& lines = window_->recorder().lines();
        QVERIFY(std::find(lines.begin(), lines.end(), "menu \"" + std::string(plugin_facts::kShowPanelItem) + "\"") !=
                lines.end());
    }

    void theShownStateKeptBeforePalettesHadNamesStillCounts() {
        const QString former = QStringLiteral("panel/visible");
        {
            QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
            settings.setValue(former, true);
        }
        storeSettings(false);
        startAndShow();
        workbench::DialogWindow* palette = window_->dialogWindow(thePanel());
        QVERIFY(palette && palette->isVisible());
        QVERIFY(window_->close());
        // Kept under the palette's name from now on.
        QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
        QVERIFY(settings.value(kPanelVisibleSetting).toBool());
        QVERIFY(!settings.contains(former));
    }

    void aRecordedSessionReplaysToTheSameDocument() {
        storeSettings(true);
        QTemporaryDir folder;
        QString session = folder.filePath(QStringLiteral("recorded.session"));
        startAndShow();
        QVERIFY(window_->recordSession(session));
        window_->resize(900, 700);
        QCoreApplication::processEvents();
        window_->toolButton(kToolName)->click();
        Canvas* canvas = window_->canvas();
        moveAndClick(canvas, -100, -20);
        moveAndClick(canvas, 33.3, 10.7, Qt::ShiftModifier);
        workbench::DialogWindow* palette = window_->dialogWindow(thePanel());
        typeInto(palette, kLengthField, QStringLiteral("12,5 mm"));
        typeInto(palette, kAngleField, QStringLiteral("30"));
        moveAndClick(canvas, 80, 40);
        moveAndClick(canvas, 100, 100);
        menuAction("&Edit", "&Undo")->trigger();
        menuAction("&View", "Zoom &In")->trigger();
        moveAndClick(canvas, 20, -60);
        moveAndClick(canvas, 20, -60);
        // Keys over the canvas: a length typed at the cursor, placed by Return, and Escape.
        moveAndClick(canvas, -60, 60);
        mouse(canvas, QEvent::MouseMove, pixelOf(canvas, 40, 62));
        QTest::keyClicks(canvas, QStringLiteral("2,5*4"));
        QTest::keyClick(canvas, Qt::Key_Return);
        QTest::keyClick(canvas, Qt::Key_Escape);
        const std::vector<std::string>& lines = window_->recorder().lines();
        QVERIFY(std::find(lines.begin(), lines.end(), "type \"*\"") != lines.end());
        QVERIFY(std::find(lines.begin(), lines.end(), "key return") != lines.end());
        QVERIFY(window_->saveTo(folder.filePath(QStringLiteral("drawn.svg"))));
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
        QVERIFY(host_->document().artCount() >= 1);
        nlohmann::json drawn = host_->document().dump();
        window_->recorder().stop();

        // Played headless: the same anchors, to the bit.
        QFile script(session);
        QVERIFY(script.open(QIODevice::Append));
        script.write("dump doc replayed.json\n");
        script.close();
        QProcess replay;
        replay.setWorkingDirectory(folder.path());
        replay.start(QStringLiteral(ORVANE_REPLAY),
                     {QStringLiteral("--plugins"), QStringLiteral(ORVANE_PLUGINS_DIR), session});
        QVERIFY(replay.waitForFinished(60000));
        QVERIFY2(replay.exitCode() == 0, replay.readAllStandardError().constData());
        QFile out(folder.filePath(QStringLiteral("replayed.json")));
        QVERIFY(out.open(QIODevice::ReadOnly));
        nlohmann::json replayed = nlohmann::json::parse(out.readAll().toStdString());
        QCOMPARE(QString::fromStdString(replayed.dump()), QString::fromStdString(drawn.dump()));
    }

    void keysTheToolUsesStayOnTheCanvas() {
        startAndShow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        window_->toolButton(kToolName)->click();
        Canvas* canvas = window_->canvas();
        canvas->setFocus();
        moveAndClick(canvas, 0, 0);
        mouse(canvas, QEvent::MouseMove, pixelOf(canvas, 100, 3));
        // Tab holds the direction; the length typed after it must still reach the tool.
        QTest::keyClick(canvas, Qt::Key_Tab);
        QVERIFY(canvas->hasFocus());
        QTest::keyClicks(canvas, QStringLiteral("10"));
        QTest::keyClick(canvas, Qt::Key_Return);
        QCOMPARE(anchorsOf(host_->document()).front().size(), std::size_t{2});
    }

    void eachFileOpensAsADocumentOfItsOwn() {
        startAndShow();
        QTemporaryDir folder;
        QString layered = folder.filePath(QStringLiteral("a.svg")), plain = folder.filePath(QStringLiteral("b.svg"));
        writeText(layered, kLayeredFile);
        writeText(plain, kPlainFile);
        QVERIFY(window_->openFile(layered));
        QCOMPARE(host_->document().layerCount(), std::size_t{2});
        QVERIFY(window_->openFile(plain));
        // Undo reaches nothing of a.svg: b.svg stays as it was opened, unmodified, and so would be saved.
        QAction* undo = menuAction("&Edit", "&Undo");
        QVERIFY(!undo->isEnabled());
        undo->trigger();
        QCOMPARE(anchorsOf(host_->document()).size(), std::size_t{1});
        QCOMPARE(window_->windowTitle(), QStringLiteral("b.svg[*] — Orvane Workbench"));
        QVERIFY(!window_->isWindowModified());
        // None of a.svg's layers stay: the one layer is neither locked nor a.svg's, and takes the drawing.
        QCOMPARE(host_->document().layerCount(), std::size_t{1});
        const host::Document::Layer* layer = host_->document().findLayer(host_->document().currentLayer());
        QCOMPARE(layer->name, std::string(host::Document::kFirstLayerName));
        QVERIFY(!layer->locked);
        window_->toolButton(kToolName)->click();
        moveAndClick(window_->canvas(), -150, -100);
        moveAndClick(window_->canvas(), -150, 100);
        QCOMPARE(layer->art.size(), std::size_t{2});

        // New asks first, then starts afresh: one empty layer, no history, no name.
        QVERIFY(window_->openFile(layered));
        moveAndClick(window_->canvas(), -150, -100);
        auto answered = std::make_shared<std::size_t>(0);
        // The locked current layer took nothing: there is nothing to save, and the one question is the page's.
        answerModals(window_.get(), {[](QWidget* box) {
                         QVERIFY(!qobject_cast<QMessageBox*>(box));
                         qobject_cast<QDialog*>(box)->accept();
                     }},
                     answered);
        menuAction("&File", "&New")->trigger();
        QCOMPARE(*answered, std::size_t{1});
        QCOMPARE(host_->document().layerCount(), std::size_t{1});
        QCOMPARE(host_->document().artCount(), std::size_t{0});
        QVERIFY(!menuAction("&Edit", "&Undo")->isEnabled());
        QCOMPARE(window_->windowTitle(), QStringLiteral("Untitled[*] — Orvane Workbench"));
    }

    void drawingInALockedOrHiddenLayerPlacesNothingAndSaysWhy() {
        startAndShow();
        host::Document& document = host_->document();
        document.setLayerName(document.currentLayer(), "Background");
        window_->toolButton(kToolName)->click();
        for (bool locked : {true, false}) {
            (locked ? document.setLayerLocked(document.currentLayer(), true)
                    : document.setLayerHidden(document.currentLayer(), true));
            int beeps = host_->basic().beeps();
            moveAndClick(window_->canvas(), 0, 0);
            moveAndClick(window_->canvas(), 80, 0);
            moveAndClick(window_->canvas(), 80, 80);
            QCOMPARE(document.artCount(), std::size_t{0});
            QVERIFY(host_->basic().beeps() > beeps);
            QString said = window_->statusBar()->currentMessage();
            QVERIFY2(said.contains(QStringLiteral("\"Background\"")) &&
                         said.contains(locked ? QStringLiteral("locked") : QStringLiteral("hidden")),
                     qPrintable(said));
            (locked ? document.setLayerLocked(document.currentLayer(), false)
                    : document.setLayerHidden(document.currentLayer(), false));
            // Shown and unlocked, the layer takes the next polyline.
            moveAndClick(window_->canvas(), 0, 0);
            moveAndClick(window_->canvas(), 0, 80);
            moveAndClick(window_->canvas(), 0, 80);
            QCOMPARE(document.artCount(), std::size_t{1});
            window_->act([&] { host_->newDocument(); });
            document.setLayerName(document.currentLayer(), "Background");
        }
    }

    void escapeInTheAboutBoxLeavesNothingOnTheStatusBar() {
        startAndShow();
        bool shown = false;
        QTimer::singleShot(0, this, [&] {
            workbench::DialogWindow* box = window_->dialogWindow(host_->modalDialog());
            QVERIFY(box);
            shown = true;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        window_->act([&] { host_->chooseMenuItem(plugin_facts::kAboutItem); });
        QVERIFY(shown);
        QVERIFY(!host_->modalDialog());
        QVERIFY2(window_->lastError().isEmpty(), qPrintable(window_->lastError()));
        QCOMPARE(window_->statusBar()->currentMessage(), QString());
        QVERIFY(std::ranges::count(window_->recorder().lines(), std::string("dialog escape")) == 1);
        // An action that fails tells the person so, without the host's own words.
        window_->act([] { throw host::HostError("the modal dialog \"About\" is open"); });
        QVERIFY(!window_->lastError().isEmpty());
        QVERIFY(!window_->statusBar()->currentMessage().isEmpty());
        QVERIFY(!window_->statusBar()->currentMessage().contains(QStringLiteral("modal")));
    }

    void aRecordingPlayedElsewhereWritesOnlyWhereItIsPlayed() {
        QTemporaryDir recordedIn, elsewhere, playedIn;
        startAndShow();
        QVERIFY(window_->recordSession(recordedIn.filePath(QStringLiteral("shared.session"))));
        host_->document().addSvgPath("M 0 0 L 10 10");
        QString inside = recordedIn.filePath(QStringLiteral("plan.svg"));
        QString outside = elsewhere.filePath(QStringLiteral("copy.svg"));
        QVERIFY(window_->saveTo(inside));
        QVERIFY(window_->saveTo(outside));
        const std::vector<std::string> lines = window_->recorder().lines();
        window_->recorder().stop();
        for (const std::string& line : lines)
            QVERIFY2(line.find(recordedIn.path().toStdString()) == std::string::npos &&
                         line.find(elsewhere.path().toStdString()) == std::string::npos,
                     line.c_str());
        QVERIFY(std::ranges::count(lines, std::string("save \"plan.svg\"")) == 1);
        QVERIFY(std::ranges::count(lines, std::string("save \"copy.svg\"")) == 1);

        // Played in another folder, the saves land there; the recorder's files are left alone.
        QFile::remove(inside);
        QFile::remove(outside);
        QVERIFY(QFile::copy(recordedIn.filePath(QStringLiteral("shared.session")),
                            playedIn.filePath(QStringLiteral("shared.session"))));
        auto play = [&](const QStringList& extra, const QString& session) {
            QProcess replay;
            replay.setWorkingDirectory(playedIn.path());
            replay.start(QStringLiteral(ORVANE_REPLAY),
                         QStringList{QStringLiteral("--plugins"), QStringLiteral(ORVANE_PLUGINS_DIR)} + extra +
                             QStringList{session});
            replay.waitForFinished(60000);
            return std::make_pair(replay.exitCode(), QString::fromUtf8(replay.readAllStandardError()));
        };
        auto [status, errors] = play({}, QStringLiteral("shared.session"));
        QVERIFY2(status == 0, qPrintable(errors));
        QVERIFY(QFile::exists(playedIn.filePath(QStringLiteral("plan.svg"))));
        QVERIFY(QFile::exists(playedIn.filePath(QStringLiteral("copy.svg"))));
        QVERIFY(!QFile::exists(inside) && !QFile::exists(outside));

        // A session that names a file elsewhere is refused, unless that folder is allowed.
        writeText(playedIn.filePath(QStringLiteral("far.session")),
                  ("path \"M 0 0 L 1 1\"\nsave \"" + outside.toStdString() + "\"\n").c_str());
        std::tie(status, errors) = play({}, QStringLiteral("far.session"));
        QCOMPARE(status, 1);
        QVERIFY2(errors.contains(QStringLiteral("--allow-writes")), qPrintable(errors));
        QVERIFY(!QFile::exists(outside));
        std::tie(status, errors) =
            play({QStringLiteral("--allow-writes"), elsewhere.path()}, QStringLiteral("far.session"));
        QVERIFY2(status == 0, qPrintable(errors));
        QVERIFY(QFile::exists(outside));
    }

    void closingASavedOpenPathMarksTheDrawingModified() {
        startAndShow();
        host_->document().addSvgPath("M 0 0 L 50 0 L 50 50");
        QTemporaryDir folder;
        QVERIFY(window_->saveTo(folder.filePath(QStringLiteral("open.svg"))));
        QVERIFY(!window_->isWindowModified());
        window_->act([&] {
            host_->edit([](host::Document& document) {
                AIArtHandle open = document.artAt(0);
                host::PathShape closed = document.findArt(open)->shape;
                closed.closed = true;
                document.disposeArt(open);
                document.insertPath(document.currentLayer(), nullptr, closed, 0);
            });
        });
        QVERIFY(window_->isWindowModified());
    }

    void quitStaysWhenTheSaveIsCancelledOrFails() {
        startAndShow();
        host_->document().addSvgPath("M 0 0 L 50 0");
        window_->sync();
        // Save, then the file dialog cancelled: nothing saved, nothing quit.
        auto answered = std::make_shared<std::size_t>(0);
        answerModals(window_.get(), {[](QWidget* box) { clickButton(box, QMessageBox::Save); }, rejectDialog},
                     answered);
        QVERIFY(!window_->close());
        QCOMPARE(*answered, std::size_t{2});
        QVERIFY(window_->isVisible() && host_->started());

        // Save to a file whose folder is gone: the failure is told, and nothing quits either.
        std::optional<QTemporaryDir> folder(std::in_place);
        QVERIFY(window_->saveTo(folder->filePath(QStringLiteral("kept.svg"))));
        host_->document().addSvgPath("M 0 0 L 60 0");
        window_->sync();
        folder.reset();
        *answered = 0;
        answerModals(window_.get(),
                     {[](QWidget* box) { clickButton(box, QMessageBox::Save); },
                      [](QWidget* box) { clickButton(box, QMessageBox::Ok); }},
                     answered);
        QVERIFY(!window_->close());
        QCOMPARE(*answered, std::size_t{2});
        QVERIFY(window_->isVisible() && host_->started());
    }

    void returnOnSaveChangesSaves() {
        startAndShow();
        QTemporaryDir folder;
        QString file = folder.filePath(QStringLiteral("kept.svg"));
        QVERIFY(window_->saveTo(file));
        host_->document().addSvgPath("M 0 0 L 50 0");
        window_->sync();
        auto answered = std::make_shared<std::size_t>(0);
        answerModals(window_.get(), {[](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }}, answered);
        QVERIFY(window_->close());
        QCOMPARE(*answered, std::size_t{1});
        QCOMPARE(host::importSvg(file.toStdString()).art.size(), std::size_t{1});
        QVERIFY(!window_->isVisible());
    }

    void aPaletteClosedBeforeQuittingStaysClosed() {
        storeSettings(true);
        startAndShow();
        workbench::DialogWindow* palette = window_->dialogWindow(thePanel());
        QVERIFY(palette && palette->isVisible());
        palette->close();
        QVERIFY(!palette->isVisible());
        QVERIFY(window_->close());
        {
            QSettings settings(MainWindow::settingsFile(), QSettings::IniFormat);
            QCOMPARE(settings.value(kPanelVisibleSetting, true).toBool(), false);
        }
        // The next start, with a store that asks for the panel, leaves it closed as the person left it.
        open();
        storeSettings(true);
        startAndShow();
        QVERIFY(!window_->dialogWindow(thePanel())->isVisible());
    }

    void aJournalLeftByACrashBringsTheDrawingBack() {
        QTemporaryDir folder;
        const std::filesystem::path journal = folder.filePath(QStringLiteral("state/journal.session")).toStdString();
        startAndShow();
        QVERIFY(!workbench::journalInUse(journal));
        QVERIFY(window_->keepJournal(journal));
        // Another workbench starting now must not take it for a crash's.
        QVERIFY(workbench::journalInUse(journal));
        window_->toolButton(kToolName)->click();
        moveAndClick(window_->canvas(), -100, -20);
        moveAndClick(window_->canvas(), 33.3, 10.7, Qt::ShiftModifier);
        moveAndClick(window_->canvas(), 80, 40);
        moveAndClick(window_->canvas(), 80, 40);
        const auto drawn = anchorsOf(host_->document());
        QCOMPARE(drawn.size(), std::size_t{1});
        // Gone without a quit: the journal stays.
        window_.reset();
        host_.reset();
        QVERIFY(std::filesystem::exists(journal));
        QVERIFY(!workbench::journalInUse(journal));

        open();
        startAndShow();
        auto answered = std::make_shared<std::size_t>(0);
        answerModals(window_.get(), {[](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); }}, answered);
        QVERIFY(window_->offerRecovery(journal, ORVANE_PLUGINS_DIR,
                                       folder.filePath(QStringLiteral("recovered.svg")).toStdString()));
        QCOMPARE(*answered, std::size_t{1});
        QVERIFY(sameAnchors(anchorsOf(host_->document()), drawn));
        QVERIFY(window_->isWindowModified());
        QCOMPARE(window_->windowTitle(), QStringLiteral("Untitled[*] — Orvane Workbench"));
        // A clean quit removes the journal it keeps.
        const std::filesystem::path next = folder.filePath(QStringLiteral("state/next.session")).toStdString();
        QVERIFY(window_->keepJournal(next));
        answerModals(window_.get(), {[](QWidget* box) { clickButton(box, QMessageBox::Discard); }},
                     std::make_shared<std::size_t>(0));
        QVERIFY(window_->close());
        QVERIFY(!std::filesystem::exists(next));
    }

private:
    QAction* menuAction(const char* menu, const char* text) const {
        return workbench_test::menuAction(*window_, menu, text);
    }
};

QTEST_MAIN(WorkbenchTests)
#include "WorkbenchTests.moc"
