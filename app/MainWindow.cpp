#include "MainWindow.h"

#include <iostream>
#include <string_view>

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "CrashJournal.h"
#include "DocumentDialogs.h"
#include "QtTextMetrics.h"
#include "Selection.h"
#include "host/document/Svg.h"
#include "host/view/FrameRenderer.h"

namespace workbench {

namespace {

constexpr double kZoomStep = 2.0;
constexpr int kToolIconSize = 24;
constexpr int kStatusTimeout = 8000;
const QString kAppTitle = QStringLiteral("Orvane Workbench");
const QString kFailureMessage = QStringLiteral("That could not be done. The details are in the program's output.");
/// Room for a window's frame when it is placed before it was ever shown (title bar, borders).
constexpr int kFrameAllowance = 32;
/// A palette's distance from the main window and from the screen's edges.
constexpr int kPaletteGap = 8;
/// A palette's settings, under its name: where it was and whether it was shown.
constexpr const char* kPositionKey = "position";
constexpr const char* kVisibleKey = "visible";
/// Where settings written before palettes were kept by name held the first palette's shown state.
const QString kFormerPanelVisibleKey = QStringLiteral("panel/visible");
/// Whether the layers panel was shown: hidden until a person shows it from the Window menu.
const QString kLayersVisibleKey = QStringLiteral("layers/visible");

/// Sends the tool's edit message on a double-click of its button.
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> onDoubleClick)
        : QObject(parent), onDoubleClick_(std::move(onDoubleClick)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonDblClick) {
            onDoubleClick_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onDoubleClick_;
};

}  // namespace

MainWindow::MainWindow(host::Host& host, QWidget* parent) : QMainWindow(parent), host_(host) {
    host_.drawer().setMetrics(std::make_unique<QtTextMetrics>());
    host_.setModalEventSource([this] { return nextModalEvent(); });

    canvas_ = new Canvas(host_, [this](const std::function<void()>& action) { act(action); });
    canvas_->setRecorder(&recorder_);
    // The canvas is the window's middle: the view grows and shrinks with it.
    setCentralWidget(canvas_);
    buildMenus();
    buildLayersPanel();
    statusFields_ = std::make_unique<StatusFields>(host_, statusBar());
    connect(canvas_, &Canvas::cursorMoved, this, [this](AIRealPoint point) { statusFields_->showPosition(point); });
    updateTitle();
}

MainWindow::~MainWindow() {
    // The host outlives the window: no modal run may come back to it.
    host_.setModalEventSource({});
    host_.drawer().setMetrics(nullptr);
}

void MainWindow::start() {
    // The plug-ins place their dialogs on the screen the window is on.
    if (QScreen* shown = screen()) host_.basic().setScreen(shown->geometry().width(), shown->geometry().height());
    const ASRect& screenBounds = host_.basic().screen();
    recorder_.begin(host_, screenBounds.right - screenBounds.left, screenBounds.bottom - screenBounds.top);
    recorder_.add("start");
    act([this] { host_.start(); });
    buildToolbox();
    restoreSettings();
    markSaved();
    sync();
    canvas_->setFocus();
}

bool MainWindow::act(const std::function<void()>& action) {
    long redraws = host_.views().redraws();
    bool done = true;
    try {
        action();
    } catch (const std::exception& error) {
        done = false;
        reportFailure(error);
    }
    // A click that ends a segment, a typed length, an undo: the annotations show the tool's state now, not
    // at the next movement of the mouse.
    if (host_.started() && !quitting_ && host_.views().redraws() == redraws && !host_.modalDialog()) {
        try {
            host_.views().invalidate();
            host_.afterEvent();
        } catch (const std::exception& error) {
            reportFailure(error);
        }
    }
    // New art the current layer refused: the person hears it and reads why.
    if (std::optional<std::string> refusal = host_.takeRefusal()) {
        QApplication::beep();
        statusBar()->showMessage(QString::fromStdString(*refusal), kStatusTimeout);
    }
    sync();
    // A person's action inside a modal run: the run takes it and asks for the next.
    if (modalLoop_) modalLoop_->exit(1);
    return done;
}

void MainWindow::reportFailure(const std::exception& error) {
    lastError_ = QString::fromStdString(error.what());
    // The host's words name its own workings: they go to the program's output, the person reads what happened.
    std::cerr << "orvane-workbench: " << error.what() << '\n';
    statusBar()->showMessage(kFailureMessage, kStatusTimeout);
}

void MainWindow::sync() {
    if (syncing_) return;
    syncing_ = true;
    canvas_->update();
    canvas_->updateCursor();
    for (auto& [handle, button] : toolButtons_) button->setChecked(handle == host_.tools().selected());

    std::vector<ADMDialogRef> dialogs = host_.dialogs().dialogs();
    for (ADMDialogRef ref : dialogs) {
        auto found = dialogWindows_.find(ref);
        if (found == dialogWindows_.end()) {
            auto* window = new DialogWindow(
                host_, [this](const std::function<void()>& action) { act(action); }, ref, this);
            window->onDismiss = [this, ref] {
                // As Escape: the Cancel button when there is one, else the run has no more events.
                if (host_.dialogs().findItem(ref, host::DialogManager::kCancelButtonID)) {
                    recorder_.add("dialog click " + std::to_string(host::DialogManager::kCancelButtonID));
                    act([&] { host_.clickItem(ref, host::DialogManager::kCancelButtonID); });
                } else {
                    recorder_.add("dialog escape");
                    act([&] { host_.dismissDialog(ref); });
                }
            };
            window->setRecorder(&recorder_);
            found = dialogWindows_.emplace(ref, window).first;
        }
        DialogWindow* window = found->second;
        window->sync();
        const host::DialogManager::Dialog* dialog = host_.dialogs().dialog(ref);
        bool visible = dialog && (dialog->visible || dialog->modal);
        if (visible && !window->isVisible() && dialog && dialog->modal) {
            // Where the plug-in put it.
            window->move(dialog->bounds.left, dialog->bounds.top);
        } else if (visible && !window->isVisible() && dialog && !window->property("placed").toBool()) {
            window->setProperty("placed", true);
            placePalette(window, dialog->name);
        }
        if (visible != window->isVisible()) window->setVisible(visible);
        if (dialog && !dialog->modal) paletteWasShown_[dialog->name] = visible;
    }
    for (auto it = dialogWindows_.begin(); it != dialogWindows_.end();) {
        if (host_.dialogs().dialog(it->first)) {
            ++it;
            continue;
        }
        it->second->hide();
        it->second->deleteLater();
        it = dialogWindows_.erase(it);
    }
    layersPanel_->sync();
    statusFields_->sync();
    updateActions();
    updateTitle();
    syncing_ = false;
}

QString MainWindow::paletteKey(const std::string& name, const char* what) {
    // By the dialog's name, which stays when a new version changes its title.
    return QStringLiteral("palettes/") + QString::fromStdString(name) + QLatin1Char('/') + QLatin1String(what);
}

void MainWindow::placePalette(DialogWindow* window, const std::string& name) {
    QSettings settings(settingsFile(), QSettings::IniFormat);
    QString key = paletteKey(name, kPositionKey);
    // Where it was last, else beside the window, not over the canvas.
    QPoint wanted = settings.contains(key) ? settings.value(key).toPoint()
                                           : frameGeometry().topRight() + QPoint(kPaletteGap, kFrameAllowance);
    QScreen* on = QGuiApplication::screenAt(wanted);
    if (!on) on = screen();
    if (on) {
        // Wholly on the screen, title bar included.
        QRect room = on->availableGeometry().adjusted(kPaletteGap, kPaletteGap, -kPaletteGap, -kPaletteGap);
        QSize size = window->size() + QSize(kPaletteGap, kFrameAllowance);
        wanted.setX(std::clamp(wanted.x(), room.left(), std::max(room.left(), room.right() - size.width())));
        wanted.setY(std::clamp(wanted.y(), room.top(), std::max(room.top(), room.bottom() - size.height())));
    }
    window->move(wanted);
}

QString MainWindow::settingsFile() {
    // Beside the plug-ins' store, but the workbench's own: the plug-ins never see it.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orvane/workbench.ini");
}

void MainWindow::restoreSettings() {
    QSettings settings(settingsFile(), QSettings::IniFormat);
    restoreGeometry(settings.value(QStringLiteral("window/geometry")).toByteArray());
    layersDock_->setVisible(settings.value(kLayersVisibleKey, false).toBool());
    const std::vector<ADMDialogRef> palettes = host_.dialogs().palettes();
    for (ADMDialogRef palette : palettes) {
        const host::DialogManager::Dialog* shown = host_.dialogs().dialog(palette);
        if (!shown) continue;
        QString key = paletteKey(shown->name, kVisibleKey);
        // Settings written before palettes were kept by name held the first one's shown state on its own.
        if (!settings.contains(key) && palette == palettes.front()) key = kFormerPanelVisibleKey;
        if (settings.contains(key)) restorePalette(palette, settings.value(key).toBool());
    }
}

void MainWindow::restorePalette(ADMDialogRef palette, bool visible) {
    const host::DialogManager::Dialog* shown = host_.dialogs().dialog(palette);
    if (!shown || visible == shown->visible) return;
    // As a person would bring it back: through the Window menu's list of palettes, whose items show or
    // hide them. An item that turns out to be another palette's is chosen again, which puts that one back.
    act([this] { host_.updateMenus(); });
    const host::Menus& menus = host_.menus();
    // The commands of the palette list, its submenus included.
    std::vector<std::string> commands;
    std::function<void(AIMenuGroup)> collect = [&](AIMenuGroup group) {
        for (AIMenuItemHandle handle : menus.itemsOf(group)) {
            const host::Menus::Item* item = menus.item(handle);
            if (!item) continue;
            if (item->submenu)
                collect(item->submenu);
            else
                commands.push_back(item->text);
        }
    };
    for (AIMenuGroup group : menus.groups()) {
        const host::Menus::Group* found = menus.group(group);
        if (found && !found->parent && found->name == "Tool Palettes") collect(group);
    }
    for (const std::string& text : commands) {
        auto choose = [&] {
            recorder_.add("menu " + SessionRecorder::quoted(text));
            act([&] { host_.chooseMenuItem(text); });
        };
        choose();
        shown = host_.dialogs().dialog(palette);
        if (!shown || shown->visible == visible) return;
        choose();
    }
}

void MainWindow::saveSettings() {
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
    settings.setValue(kLayersVisibleKey, !layersDock_->isHidden());
    for (auto& [ref, window] : dialogWindows_) {
        const host::DialogManager::Dialog* dialog = host_.dialogs().dialog(ref);
        if (!dialog || dialog->modal || !window->property("placed").toBool()) continue;
        settings.setValue(paletteKey(dialog->name, kPositionKey), window->pos());
    }
    // Shown or hidden as the person last saw each palette.
    for (const auto& [name, shown] : paletteWasShown_) settings.setValue(paletteKey(name, kVisibleKey), shown);
    settings.remove(kFormerPanelVisibleKey);
}

DialogWindow* MainWindow::dialogWindow(ADMDialogRef dialog) const {
    auto found = dialogWindows_.find(dialog);
    return found == dialogWindows_.end() ? nullptr : found->second;
}

QToolButton* MainWindow::toolButton(const std::string& name) const {
    AIToolHandle handle = name.empty() ? host_.tools().selectionTool() : host_.tools().find(name);
    auto found = toolButtons_.find(handle);
    return found == toolButtons_.end() ? nullptr : found->second;
}

bool MainWindow::nextModalEvent() {
    sync();
    if (!dialogWindow(host_.modalDialog())) return false;
    QEventLoop loop;
    QEventLoop* outer = modalLoop_;
    modalLoop_ = &loop;
    int result = loop.exec();
    modalLoop_ = outer;
    return result == 1;
}

void MainWindow::buildToolbox() {
    auto* dock = new QDockWidget(QStringLiteral("Tools"), this);
    dock->setObjectName(QStringLiteral("toolbox"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    std::optional<AIToolType> lastGroup;
    for (AIToolHandle handle : host_.tools().all()) {
        const host::Tools::Tool* tool = host_.tools().tool(handle);
        if (!tool) continue;
        if (lastGroup && *lastGroup != tool->group) {
            auto* line = new QFrame;
            line->setFrameShape(QFrame::HLine);
            layout->addWidget(line);
        }
        lastGroup = tool->group;
        auto* button = new QToolButton;
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIconSize(QSize(kToolIconSize, kToolIconSize));
        bool own = handle == host_.tools().selectionTool();
        QPixmap icon =
            tool->icon ? resourcePixmap(host_, tool->plugin, *tool->icon, {kToolIconSize, kToolIconSize}) : QPixmap();
        if (!icon.isNull())
            button->setIcon(QIcon(icon));
        else
            button->setText(own ? QStringLiteral("➚") : QString::fromStdString(tool->title));
        QString tip = QString::fromStdString(tool->tooltip.empty() ? tool->title : tool->tooltip);
        button->setToolTip(own ? QStringLiteral("Selection Tool") : tip);
        button->setObjectName(QString::fromStdString(own ? "selection-tool" : tool->name));
        std::string name = tool->name;
        connect(button, &QToolButton::clicked, this, [this, own, name] {
            recorder_.add(own ? "deselect" : "select");
            act([&] { own ? host_.deselect() : host_.selectTool(name); });
        });
        if (!own)
            button->installEventFilter(new DoubleClickFilter(button, [this] {
                recorder_.add("tool edit");
                act([this] { host_.editTool(); });
            }));
        toolButtons_[handle] = button;
        layout->addWidget(button);
    }
    layout->addStretch();
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(dock->windowTitle()) + 2 * kToolIconSize);
    dock->setWidget(box);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&New"), QKeySequence::New, this, [this] { newDocument(); });
    file->setToolTipsVisible(true);
    file->addAction(QStringLiteral("&Open SVG…"), QKeySequence::Open, this, [this] { openSvg(); })
        ->setToolTip(QStringLiteral("Open a drawing at its size on paper (its width, height and viewBox, in any unit), "
                                    "with its layers, as a document of its own in place of this one"));
    file->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, [this] { save(); });
    file->addAction(QStringLiteral("Save &As SVG…"), QKeySequence::SaveAs, this, [this] { saveAs(); })
        ->setToolTip(QStringLiteral("Save the drawing sized in points, one user unit to the point, "
                                    "with a layer group for each layer, locked and hidden as they are"));
    file->addAction(QStringLiteral("&Export PNG…"), this, [this] { exportPng(); });
    file->addSeparator();
    recordAction_ = file->addAction(QStringLiteral("&Record Session…"), this, [this] { chooseRecording(); });
    recordAction_->setToolTip(
        QStringLiteral("Write what you do, from the start, as a session orvane-replay plays back"));
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    undoAction_ = edit->addAction(QStringLiteral("&Undo"), QKeySequence::Undo, this, [this] {
        bool undone = false;
        act([&] { undone = host_.undo(); });
        if (undone) recorder_.add("undo");
    });
    redoAction_ = edit->addAction(QStringLiteral("&Redo"), QKeySequence::Redo, this, [this] {
        bool redone = false;
        act([&] { redone = host_.redo(); });
        if (redone) recorder_.add("redo");
    });
    edit->addSeparator();
    deleteAction_ =
        edit->addAction(QStringLiteral("&Delete"), QKeySequence::Delete, this, [this] { deleteSelection(); });

    QMenu* object = menuBar()->addMenu(QStringLiteral("&Object"));
    moveAction_ = object->addAction(QStringLiteral("&Move…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), this,
                                    [this] { moveSelectionExactly(); });
    moveAction_->setToolTip(
        QStringLiteral("Move the selection by an exact offset in millimetres at the drawing scale"));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    auto middle = [this] { return QPointF(canvas_->width() / 2.0, canvas_->height() / 2.0); };
    view->addAction(QStringLiteral("Zoom &In"), QKeySequence::ZoomIn, this,
                    [this, middle] { canvas_->zoomAround(kZoomStep, middle()); });
    view->addAction(QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut, this,
                    [this, middle] { canvas_->zoomAround(1 / kZoomStep, middle()); });
    view->addAction(QStringLiteral("&100 %"), QKeySequence(Qt::CTRL | Qt::Key_1), this,
                    [this] { canvas_->setZoom(1.0); });
    view->addAction(QStringLiteral("&Fit"), QKeySequence(Qt::CTRL | Qt::Key_0), this, [this] { canvas_->fit(); });

    // Window and Help come from the host's groups, with the update messages sent before they open.
    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    connect(window, &QMenu::aboutToShow, this, [this, window] {
        act([this] {
            host_.updateMenus();
            host_.afterEvent();
        });
        window->clear();
        window->addAction(layersDock_->toggleViewAction());
        fillFromGroup(window, "Tool Palettes");
        fillFromGroup(window, "Window");
    });
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(help, &QMenu::aboutToShow, this, [this, help] {
        act([this] {
            host_.updateMenus();
            host_.afterEvent();
        });
        help->clear();
        fillFromGroup(help, "About");
        fillFromGroup(help, "Help");
    });
    // A menu bar hides menus without actions: a placeholder until the host fills them.
    window->addAction(QString())->setVisible(false);
    help->addAction(QString())->setVisible(false);
}

void MainWindow::buildLayersPanel() {
    layersDock_ = new QDockWidget(QStringLiteral("Layers"), this);
    layersDock_->setObjectName(QStringLiteral("layersDock"));
    layersPanel_ = new LayersPanel(
        host_, [this](const std::function<void()>& action) { act(action); }, &recorder_);
    layersDock_->setWidget(layersPanel_);
    layersDock_->toggleViewAction()->setText(QStringLiteral("&Layers"));
    addDockWidget(Qt::RightDockWidgetArea, layersDock_);
    layersDock_->hide();
}

void MainWindow::moveSelectionExactly() {
    if (host_.document().selectedArt().empty()) return;
    MoveDialog dialog(drawingMillimetresPerPoint(host_.preferences()), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const AIRealPoint offset = *dialog.offset();
    act([&] { moveSelection(host_, &recorder_, offset.h, offset.v); });
}

void MainWindow::fillFromGroup(QMenu* menu, const std::string& groupName) {
    const host::Menus& menus = host_.menus();
    for (AIMenuGroup group : menus.groups()) {
        const host::Menus::Group* found = menus.group(group);
        if (found && !found->parent && found->name == groupName) {
            if (!menu->isEmpty() && !menus.itemsOf(group).empty()) menu->addSeparator();
            fillGroup(menu, group);
            return;
        }
    }
}

void MainWindow::fillGroup(QMenu* menu, AIMenuGroup group) {
    const host::Menus& menus = host_.menus();
    for (AIMenuItemHandle handle : menus.itemsOf(group)) {
        const host::Menus::Item* item = menus.item(handle);
        if (!item) continue;
        QString text = QString::fromStdString(item->text);
        if (item->submenu) {
            fillGroup(menu->addMenu(text), item->submenu);
            continue;
        }
        std::string command = item->text;
        QAction* action = menu->addAction(text);
        // A menu text is not a shortcut: an ampersand stays one.
        action->setText(text.replace(QChar('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, command] {
            // Written first: the dialog lines of a modal run it opens follow it.
            recorder_.add("menu " + SessionRecorder::quoted(command));
            act([&] { host_.chooseMenuItem(command); });
        });
    }
}

void MainWindow::newDocument() {
    if (!maybeSave()) return;
    PageSizeDialog pageSize(this);
    if (pageSize.exec() != QDialog::Accepted) return;
    recorder_.add("new");
    act([&] {
        host_.newDocument();
        host_.document().setPage(*pageSize.page());
    });
    file_.clear();
    markSaved();
    canvas_->fit();
}

void MainWindow::openSvg() {
    if (!maybeSave()) return;
    QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("Open SVG"), QString(), QStringLiteral("SVG files (*.svg)"));
    if (!file.isEmpty()) openFile(file);
}

bool MainWindow::openFile(const QString& file) {
    std::string path = file.toStdString();
    std::vector<host::SvgWarning> warnings;
    if (!act([&] { warnings = host_.openSvg(path); })) {
        QMessageBox::warning(this, QStringLiteral("Open SVG"), lastError_);
        return false;
    }
    recorder_.addFile("open", path);
    file_ = file;
    markSaved();
    canvas_->fit();
    QString name = QFileInfo(file).fileName();
    if (warnings.empty()) {
        statusBar()->showMessage(QStringLiteral("Opened %1").arg(name), kStatusTimeout);
        return true;
    }
    statusBar()->showMessage(
        QStringLiteral("Opened %1: %2 element(s) passed over or repaired").arg(name).arg(warnings.size()),
        kStatusTimeout);
    showOpenWarnings(name, warnings);
    return true;
}

void MainWindow::showOpenWarnings(const QString& name, const std::vector<host::SvgWarning>& warnings) {
    QStringList lines;
    for (const host::SvgWarning& warning : warnings) lines << QString::fromStdString(host::describe(warning));
    // Not modal: the drawing is open and usable while the list is read, and the list goes when dismissed.
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Open SVG"),
                                QStringLiteral("%1 is open. What could not be drawn is kept in the file and "
                                               "saved back as it was.")
                                    .arg(name),
                                QMessageBox::Close, this);
    box->setObjectName(QStringLiteral("openWarnings"));
    box->setInformativeText(QStringLiteral("%1 element(s) passed over or repaired.").arg(warnings.size()));
    box->setDetailedText(lines.join(QLatin1Char('\n')));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

bool MainWindow::save() {
    if (file_.isEmpty()) return saveAs();
    std::vector<std::string> unwritable = host::unwritableEdits(host_.document());
    if (unwritable.empty()) return saveTo(file_);
    // Writing over the file it came from would lose these edits' originals: the person chooses.
    QMessageBox box(QMessageBox::Warning, kAppTitle,
                    QStringLiteral("Some edits can't be written back into %1.").arg(QFileInfo(file_).fileName()),
                    QMessageBox::Save | QMessageBox::SaveAll | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("saveOverOriginal"));
    box.button(QMessageBox::Save)->setText(QStringLiteral("Write Over It"));
    box.button(QMessageBox::SaveAll)->setText(QStringLiteral("Save As…"));
    box.setInformativeText(QStringLiteral("Saving over the original keeps everything else, but not these."));
    QStringList lines;
    for (const std::string& line : unwritable) lines << QString::fromStdString(line);
    box.setDetailedText(lines.join(QLatin1Char('\n')));
    box.setDefaultButton(QMessageBox::SaveAll);
    switch (box.exec()) {
        case QMessageBox::Save:
            return saveTo(file_);
        case QMessageBox::SaveAll:
            return saveAs();
        default:
            return false;
    }
}

bool MainWindow::saveAs() {
    QString file =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save As SVG"), file_, QStringLiteral("SVG files (*.svg)"));
    if (file.isEmpty()) return false;
    if (!file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) file += QStringLiteral(".svg");
    return saveTo(file);
}

bool MainWindow::saveTo(const QString& file) {
    std::string path = file.toStdString();
    if (!act([&] { host_.saveSvg(path); })) {
        QMessageBox::warning(this, QStringLiteral("Save SVG"), lastError_);
        return false;
    }
    recorder_.addFile("save", path);
    file_ = file;
    markSaved();
    statusBar()->showMessage(QStringLiteral("Saved %1").arg(QFileInfo(file).fileName()), kStatusTimeout);
    return true;
}

bool MainWindow::maybeSave() {
    if (!isDocumentModified()) return true;
    QMessageBox box(QMessageBox::Warning, kAppTitle, QStringLiteral("Save changes to the drawing?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("saveChanges"));
    box.setInformativeText(QStringLiteral("Your changes are lost if you don't save them."));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
        case QMessageBox::Save:
            return save();
        case QMessageBox::Discard:
            return true;
        default:
            return false;
    }
}

bool MainWindow::isDocumentModified() {
    return fingerprint_.value() != saved_;
}

void MainWindow::markSaved() {
    saved_ = fingerprint_.value();
    updateTitle();
}

void MainWindow::markUnsaved() {
    // No document has no layer: nothing the drawing can become matches this.
    saved_ = {};
    updateTitle();
}

void MainWindow::updateTitle() {
    QString name = file_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(file_).fileName();
    setWindowTitle(name + QStringLiteral("[*] — ") + kAppTitle);
    setWindowModified(host_.started() && isDocumentModified());
}

void MainWindow::chooseRecording() {
    if (recorder_.recording()) {
        recorder_.stop();
        recordAction_->setText(QStringLiteral("&Record Session…"));
        statusBar()->showMessage(QStringLiteral("Recording stopped"), kStatusTimeout);
        return;
    }
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Record Session"), QString(),
                                                QStringLiteral("Sessions (*.session)"));
    if (file.isEmpty()) return;
    if (!file.endsWith(QStringLiteral(".session"))) file += QStringLiteral(".session");
    recordSession(file);
}

bool MainWindow::recordSession(const QString& file) {
    try {
        recorder_.record(file.toStdString());
    } catch (const std::exception& error) {
        QMessageBox::warning(this, QStringLiteral("Record Session"), QString::fromStdString(error.what()));
        return false;
    }
    recordAction_->setText(QStringLiteral("Stop &Recording"));
    statusBar()->showMessage(QStringLiteral("Recording to %1").arg(QFileInfo(file).fileName()));
    return true;
}

bool MainWindow::keepJournal(const std::filesystem::path& file) {
    try {
        std::filesystem::create_directories(file.parent_path());
        recorder_.keepJournal(file);
    } catch (const std::exception& error) {
        statusBar()->showMessage(
            QStringLiteral("Your work is not protected against a crash: %1").arg(QString::fromStdString(error.what())));
        return false;
    }
    return true;
}

bool MainWindow::offerRecovery(const std::filesystem::path& journal, const std::filesystem::path& plugins,
                               const std::filesystem::path& drawing) {
    QMessageBox box(QMessageBox::Question, kAppTitle,
                    QStringLiteral("The workbench did not close properly last time. Recover the drawing?"),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("recover"));
    box.setInformativeText(
        QStringLiteral("Recover plays back what you did since the workbench started. "
                       "Discard starts with an empty drawing."));
    QPushButton* recover = box.addButton(QStringLiteral("&Recover"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Discard);
    box.setDefaultButton(recover);
    box.exec();
    if (box.clickedButton() != recover) return false;
    Recovered recovered;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        recovered = replayJournal(journal, plugins, drawing);
        QApplication::restoreOverrideCursor();
    } catch (const std::exception& error) {
        QApplication::restoreOverrideCursor();
        QMessageBox::warning(this, kAppTitle,
                             QStringLiteral("The drawing could not be recovered: %1").arg(error.what()));
        return false;
    }
    if (!act([&] { host_.openSvg(drawing); })) {
        QMessageBox::warning(this, kAppTitle, QStringLiteral("The drawing could not be recovered: %1").arg(lastError_));
        return false;
    }
    recorder_.addFile("open", drawing);
    file_ = QString::fromStdString(recovered.file.string());
    markUnsaved();
    canvas_->fit();
    statusBar()->showMessage(recovered.whole ? QStringLiteral("Recovered the drawing")
                                             : QStringLiteral("Recovered the drawing as it was before the last action"),
                             kStatusTimeout);
    return true;
}

void MainWindow::exportPng() {
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Export PNG"), QString(),
                                                QStringLiteral("PNG images (*.png)"));
    if (file.isEmpty()) return;
    if (!file.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) file += QStringLiteral(".png");
    exportTo(file);
}

bool MainWindow::exportTo(const QString& file) {
    // The artwork only: the labels and the rubber band belong to the screen.
    if (!act([&] {
            host::FrameRenderer renderer(host_.document(), host_.views(), host_.drawer().metrics());
            renderer.write(file.toStdString(), {});
        })) {
        QMessageBox::warning(this, QStringLiteral("Export PNG"), lastError_);
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Exported %1").arg(QFileInfo(file).fileName()), kStatusTimeout);
    return true;
}

void MainWindow::deleteSelection() {
    // Written as the places of the art in the current layer's paint order, all in one line: one step, as
    // here. A session names art of the current layer only.
    std::size_t outside = 0;
    const std::string places = selectionPlaces(host_.document(), outside);
    if (!places.empty()) recorder_.add("delete" + places);
    if (outside > 0) recorder_.add("# not played back: a deletion of art outside the current layer");
    act([this] {
        host_.edit([](host::Document& document) {
            std::vector<AIArtHandle> selected(document.selectedArt().begin(), document.selectedArt().end());
            for (AIArtHandle art : selected) document.disposeArt(art);
        });
        host_.views().invalidate();
        host_.afterEvent();
    });
}

void MainWindow::updateActions() {
    if (deleteAction_) deleteAction_->setEnabled(!host_.document().selectedArt().empty());
    if (moveAction_) moveAction_->setEnabled(!host_.document().selectedArt().empty());
    if (undoAction_) undoAction_->setEnabled(host_.canUndo());
    if (redoAction_) redoAction_->setEnabled(host_.canRedo());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (modalLoop_ || (!quitting_ && host_.started() && !maybeSave())) {
        event->ignore();
        return;
    }
    if (!quitting_ && host_.started()) {
        quitting_ = true;
        saveSettings();
        recorder_.add("quit");
        try {
            host_.quit();
        } catch (const std::exception& error) {
            QMessageBox::warning(this, kAppTitle, QString::fromStdString(error.what()));
        }
        recorder_.stop();
        recorder_.dropJournal();
    }
    // The palettes go with the window, and so does the program.
    for (auto& [ref, window] : dialogWindows_) window->hide();
    event->accept();
    QCoreApplication::quit();
}

}  // namespace workbench
