// The workbench's window: the canvas, the toolbox, the menus and the windows of
// the plug-in's dialogs, all mirroring the host. Every action of a person goes
// to the host through act(), after which the widgets are brought in step.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include <QActionGroup>
#include <QMainWindow>
#include <QPointer>

#include "Canvas.h"
#include "DialogWindow.h"
#include "host/Host.h"

class QEventLoop;
class QMenu;
class QToolButton;

namespace workbench {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    /// The host must outlive the window; the window installs its text metrics and modal event source.
    explicit MainWindow(host::Host& host, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Starts the host (the plug-ins' start-up) and shows what it built.
    void start();
    /// Carries out a host action, shows in the status bar what went wrong, and brings the widgets in step.
    void act(const std::function<void()>& action);
    /// Brings the widgets in step with the host.
    void sync();

    Canvas* canvas() const { return canvas_; }
    /// The window of a dialog, or null.
    DialogWindow* dialogWindow(ADMDialogRef dialog) const;
    /// The toolbox button of the tool registered under name (the host's own: "").
    QToolButton* toolButton(const std::string& name) const;
    /// The message of the latest action that failed, for tests.
    const QString& lastError() const { return lastError_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolbox();
    void buildMenus();
    /// Fills menu with the items of the host's group name, submenus included.
    void fillFromGroup(QMenu* menu, const std::string& groupName);
    void fillGroup(QMenu* menu, AIMenuGroup group);
    void newDocument();
    void exportPng();
    void openSvg();
    void saveSvg();
    void deleteSelection();
    void updateActions();
    /// A modal run's next action: a nested event loop until the person acts on the dialog.
    bool nextModalEvent();

    host::Host& host_;
    Canvas* canvas_ = nullptr;
    std::map<AIToolHandle, QToolButton*> toolButtons_;
    std::map<ADMDialogRef, DialogWindow*> dialogWindows_;
    QActionGroup* toolGroup_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QString lastError_;
    QEventLoop* modalLoop_ = nullptr;
    bool syncing_ = false;
    bool quitting_ = false;
};

}  // namespace workbench
