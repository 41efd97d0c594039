#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFrame>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "QtTextMetrics.h"
#include "host/FrameRenderer.h"

namespace workbench {

namespace {

constexpr double kZoomStep = 2.0;
constexpr int kToolIconSize = 24;
constexpr int kStatusTimeout = 8000;

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
    setWindowTitle(QStringLiteral("Orvane Workbench"));
    host_.drawer().setMetrics(std::make_unique<QtTextMetrics>());
    host_.setModalEventSource([this] { return nextModalEvent(); });

    canvas_ = new Canvas(host_, [this](const std::function<void()>& action) { act(action); });
    auto* centre = new QWidget;
    auto* layout = new QVBoxLayout(centre);
    layout->addWidget(canvas_, 0, Qt::AlignCenter);
    centre->setBackgroundRole(QPalette::Dark);
    centre->setAutoFillBackground(true);
    setCentralWidget(centre);
    buildMenus();
    statusBar();
}

MainWindow::~MainWindow() {
    // The host outlives the window: no modal run may come back to it.
    host_.setModalEventSource({});
    host_.drawer().setMetrics(nullptr);
}

void MainWindow::start() {
    // The plug-ins place their dialogs on the screen the window is on.
    if (QScreen* shown = screen()) host_.basic().setScreen(shown->geometry().width(), shown->geometry().height());
    act([this] { host_.start(); });
    buildToolbox();
    sync();
    canvas_->setFocus();
}

void MainWindow::act(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        lastError_ = QString::fromStdString(error.what());
        statusBar()->showMessage(lastError_, kStatusTimeout);
    }
    sync();
    // A person's action inside a modal run: the run takes it and asks for the next.
    if (modalLoop_) modalLoop_->exit(1);
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
            auto* window = new DialogWindow(host_, [this](const std::function<void()>& action) { act(action); }, ref, this);
            window->onDismiss = [this, ref] {
                // As Escape: the Cancel button when there is one, else the run has no more events.
                if (host_.dialogs().findItem(ref, host::DialogManager::kCancelButtonID))
                    act([&] { host_.clickItem(ref, host::DialogManager::kCancelButtonID); });
                else if (modalLoop_)
                    modalLoop_->exit(0);
            };
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
            // A palette first shows beside the canvas, not over it.
            window->setProperty("placed", true);
            window->move(frameGeometry().topRight() + QPoint(8, 40));
        }
        if (visible != window->isVisible()) window->setVisible(visible);
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
    updateActions();
    syncing_ = false;
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
        QPixmap icon = tool->icon ? resourcePixmap(host_, tool->plugin, *tool->icon, {kToolIconSize, kToolIconSize}) : QPixmap();
        if (!icon.isNull())
            button->setIcon(QIcon(icon));
        else
            button->setText(own ? QStringLiteral("➚") : QString::fromStdString(tool->title));
        QString tip = QString::fromStdString(tool->tooltip.empty() ? tool->title : tool->tooltip);
        button->setToolTip(own ? QStringLiteral("Selection Tool") : tip);
        button->setObjectName(QString::fromStdString(own ? "selection-tool" : tool->name));
        std::string name = tool->name;
        connect(button, &QToolButton::clicked, this, [this, own, name] {
            act([&] { own ? host_.deselect() : host_.selectTool(name); });
        });
        if (!own) button->installEventFilter(new DoubleClickFilter(button, [this] { act([this] { host_.editTool(); }); }));
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
                                    "with its layers, in place of all the art; Undo brings the art back"));
    file->addAction(QStringLiteral("Save &As SVG…"), QKeySequence::SaveAs, this, [this] { saveSvg(); })
        ->setToolTip(QStringLiteral("Save the drawing sized in points, one user unit to the point, "
                                    "with a layer group for each layer, locked and hidden as they are"));
    file->addAction(QStringLiteral("&Export PNG…"), this, [this] { exportPng(); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    undoAction_ = edit->addAction(QStringLiteral("&Undo"), QKeySequence::Undo, this, [this] { act([this] { host_.undo(); }); });
    redoAction_ = edit->addAction(QStringLiteral("&Redo"), QKeySequence::Redo, this, [this] { act([this] { host_.redo(); }); });
    edit->addSeparator();
    deleteAction_ = edit->addAction(QStringLiteral("&Delete"), QKeySequence::Delete, this, [this] { deleteSelection(); });

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    auto middle = [this] { return QPointF(canvas_->width() / 2.0, canvas_->height() / 2.0); };
    view->addAction(QStringLiteral("Zoom &In"), QKeySequence::ZoomIn, this,
                    [this, middle] { canvas_->zoomAround(kZoomStep, middle()); });
    view->addAction(QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut, this,
                    [this, middle] { canvas_->zoomAround(1 / kZoomStep, middle()); });
    view->addAction(QStringLiteral("&100 %"), QKeySequence(Qt::CTRL | Qt::Key_1), this, [this] { canvas_->setZoom(1.0); });
    view->addAction(QStringLiteral("&Fit"), QKeySequence(Qt::CTRL | Qt::Key_0), this, [this] { canvas_->fit(); });

    // Window and Help come from the host's groups, with the update messages sent before they open.
    QMenu* window = menuBar()->addMenu(QStringLiteral("&Window"));
    connect(window, &QMenu::aboutToShow, this, [this, window] {
        act([this] { host_.updateMenus(); host_.afterEvent(); });
        window->clear();
        fillFromGroup(window, "Tool Palettes");
        fillFromGroup(window, "Window");
    });
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(help, &QMenu::aboutToShow, this, [this, help] {
        act([this] { host_.updateMenus(); host_.afterEvent(); });
        help->clear();
        fillFromGroup(help, "About");
        fillFromGroup(help, "Help");
    });
    // A menu bar hides menus without actions: a placeholder until the host fills them.
    window->addAction(QString())->setVisible(false);
    help->addAction(QString())->setVisible(false);
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
        connect(action, &QAction::triggered, this, [this, command] { act([&] { host_.chooseMenuItem(command); }); });
    }
}

void MainWindow::newDocument() {
    act([this] {
        host_.edit([](host::Document& document) {
            std::vector<AIArtHandle> all;
            document.forEachArt([&](AIArtHandle art, const host::Document::Art&) { all.push_back(art); });
            for (AIArtHandle art : all) document.disposeArt(art);
        });
        host_.views().invalidate();
        host_.afterEvent();
    });
}

void MainWindow::openSvg() {
    QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Open SVG"), QString(),
                                                QStringLiteral("SVG files (*.svg)"));
    if (file.isEmpty()) return;
    act([&] { host_.openSvg(file.toStdString()); });
}

void MainWindow::saveSvg() {
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save As SVG"), QString(),
                                                QStringLiteral("SVG files (*.svg)"));
    if (file.isEmpty()) return;
    if (!file.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) file += QStringLiteral(".svg");
    act([&] { host_.saveSvg(file.toStdString()); });
}

void MainWindow::exportPng() {
    QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Export PNG"), QString(),
                                                QStringLiteral("PNG images (*.png)"));
    if (file.isEmpty()) return;
    if (!file.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) file += QStringLiteral(".png");
    act([&] {
        host::FrameRenderer renderer(host_.document(), host_.views(), host_.drawer().metrics());
        renderer.write(file.toStdString(), host_.frame());
    });
}

void MainWindow::deleteSelection() {
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
    if (undoAction_) undoAction_->setEnabled(host_.canUndo());
    if (redoAction_) redoAction_->setEnabled(host_.canRedo());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (modalLoop_) {
        event->ignore();
        return;
    }
    if (!quitting_ && host_.started()) {
        quitting_ = true;
        try {
            host_.quit();
        } catch (const std::exception& error) {
            QMessageBox::warning(this, QStringLiteral("Orvane Workbench"), QString::fromStdString(error.what()));
        }
    }
    event->accept();
}

}  // namespace workbench
