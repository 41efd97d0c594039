// The workbench's window: the canvas, the toolbox, the menus and the windows of
// the plug-in's dialogs, all mirroring the host. Every action of a person goes
// to the host through act(), after which the widgets are brought in step.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include <QActionGroup>
#include <QMainWindow>
#include <QPointer>

#include "Canvas.h"
#include "DialogWindow.h"
#include "DocumentFingerprint.h"
#include "LayersPanel.h"
#include "SessionRecorder.h"
#include "StatusFields.h"
#include "host/Host.h"

class QDockWidget;
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
    /// Carries out a host action, shows in the status bar what went wrong, redraws the annotations when the
    /// action did not, and brings the widgets in step; false when the action threw.
    bool act(const std::function<void()>& action);
    /// Brings the widgets in step with the host.
    void sync();

    Canvas* canvas() const { return canvas_; }
    /// The window of a dialog, or null.
    DialogWindow* dialogWindow(ADMDialogRef dialog) const;
    /// The toolbox button of the tool registered under name (the host's own: "").
    QToolButton* toolButton(const std::string& name) const;
    LayersPanel* layersPanel() const { return layersPanel_; }
    /// The dock that holds the layers panel, shown and hidden from the Window menu.
    QDockWidget* layersDock() const { return layersDock_; }
    const StatusFields& statusFields() const { return *statusFields_; }
    /// Moves the selection by an offset asked for in millimetres at the drawing scale (Object › Move…).
    void moveSelectionExactly();
    /// The message of the latest action that failed, for tests.
    const QString& lastError() const { return lastError_; }

    /// The SVG file the document was opened from or saved to; empty for a new document.
    const QString& fileName() const { return file_; }
    /// Whether the art or the layers differ from what was opened or saved (or from nothing, for a new document).
    bool isDocumentModified();
    /// Opens an SVG file in place of the document, fitting its art into view; a message box tells what went wrong.
    bool openFile(const QString& file);
    /// Saves the document to file; a message box tells what went wrong.
    bool saveTo(const QString& file);
    /// Writes the artwork as the view shows it, without the annotations, to a PNG file.
    bool exportTo(const QString& file);
    /// Asks whether to save unsaved changes; false when the person cancels (or the save fails).
    bool maybeSave();
    /// Writes what the person does, from the host's start, to an orvane-replay session file.
    bool recordSession(const QString& file);
    /// Keeps the crash journal in file from now on, from the host's start; a clean quit removes it.
    /// False, with a warning on the status bar, when it can't be written.
    bool keepJournal(const std::filesystem::path& file);
    /// Offers to recover the drawing of a session that ended without a clean quit, from its journal, with
    /// Recover as the default. The drawing comes back as it was at the journal's last line, under its file's
    /// name, marked as modified; the recovered SVG is kept in drawing. False when the person declines or
    /// the journal gives nothing.
    bool offerRecovery(const std::filesystem::path& journal, const std::filesystem::path& plugins,
                       const std::filesystem::path& drawing);
    SessionRecorder& recorder() { return recorder_; }
    /// Where the workbench keeps its own settings (the palettes' places and shown states).
    static QString settingsFile();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    /// Keeps the message of an action that threw, and tells the person in plain words that it failed.
    void reportFailure(const std::exception& error);
    void buildToolbox();
    void buildMenus();
    void buildLayersPanel();
    /// Fills menu with the items of the host's group name, submenus included.
    void fillFromGroup(QMenu* menu, const std::string& groupName);
    void fillGroup(QMenu* menu, AIMenuGroup group);
    void newDocument();
    void exportPng();
    void openSvg();
    /// What an opened file held that was passed over or repaired, in a list the person dismisses.
    void showOpenWarnings(const QString& name, const std::vector<host::SvgWarning>& warnings);
    bool save();
    bool saveAs();
    void chooseRecording();
    void updateTitle();
    /// The art as it was opened or saved: the reference of isDocumentModified().
    void markSaved();
    /// Marks the drawing as unsaved whatever it becomes, as a recovered drawing is.
    void markUnsaved();
    /// Places a palette shown for the first time: where it was last, else beside the window, on screen.
    void placePalette(DialogWindow* window, const std::string& name);
    /// The settings key of what (its place, its shown state) of the palette with that dialog name.
    static QString paletteKey(const std::string& name, const char* what);
    void restoreSettings();
    /// Shows or hides the palette as a person would, through the Window menu.
    void restorePalette(ADMDialogRef palette, bool visible);
    void saveSettings();
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
    QAction* recordAction_ = nullptr;
    QAction* moveAction_ = nullptr;
    LayersPanel* layersPanel_ = nullptr;
    QDockWidget* layersDock_ = nullptr;
    std::unique_ptr<StatusFields> statusFields_;
    SessionRecorder recorder_;
    QString file_;
    DocumentFingerprint fingerprint_{host_.document()};
    /// What was opened or saved: the reference of isDocumentModified().
    DocumentFingerprint::Value saved_;
    /// Each palette's latest shown state, by dialog name.
    std::map<std::string, bool> paletteWasShown_;
    QString lastError_;
    QEventLoop* modalLoop_ = nullptr;
    bool syncing_ = false;
    bool quitting_ = false;
};

}  // namespace workbench
