// A window mirroring one dialog of the host's dialog manager: each item a
// widget at its rectangle, brought in step with the model after every host
// action; what a person does becomes a host action.
#pragma once

#include <functional>
#include <map>

#include <QComboBox>
#include <QDialog>
#include <QPixmap>

#include "Canvas.h"
#include "SessionRecorder.h"
#include "host/Host.h"

namespace workbench {

/// The small font of dialog items, as hosts of such plug-ins show them: every text is measured in it.
QFont dialogFont();

/// The image of a plug-in's picture or icon resource, or a null pixmap.
QPixmap resourcePixmap(host::Host& host, SPPluginRef plugin, ASInt32 id, QSize size = {});

class DialogWindow : public QDialog {
    Q_OBJECT
public:
    DialogWindow(host::Host& host, Act act, ADMDialogRef dialog, QWidget* parent = nullptr);

    ADMDialogRef dialog() const { return dialog_; }
    /// The widget of the dialog's first item with that ID, or null.
    QWidget* itemWidget(ASInt32 itemID) const;
    /// Brings the widgets in step with the model; false when the dialog is gone.
    bool sync();
    /// Called when a person closes the window of a modal run or presses Escape in it.
    std::function<void()> onDismiss;
    /// Where the window writes what the person does in it; null for nowhere.
    void setRecorder(SessionRecorder* recorder) { recorder_ = recorder; }
    /// The widgets that take the keyboard focus, in the order Tab goes through them.
    QList<QWidget*> tabStops() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    struct View {
        QWidget* widget = nullptr;
        QWidget* overlay = nullptr;  ///< paints the item's draw procedure, takes its tracking
        std::string type;
        ASInt32 picture = -1;  ///< the picture shown, so that it is rendered once
    };

    View makeView(ADMItemRef ref, const host::DialogManager::Item& item);
    // One factory for each item type, and the layer that paints an item's drawing and takes its tracking.
    QWidget* makeWidget(ADMItemRef ref, const host::DialogManager::Item& item);
    QWidget* makeField(ADMItemRef ref, const host::DialogManager::Item& item);
    QWidget* makeStepArrows(QWidget* box, const std::function<void(bool up, bool large)>& step);
    QWidget* makePresetButton(QWidget* box, ADMItemRef ref, ASInt32 id, const std::string& fieldName);
    QWidget* makePopupList(ASInt32 id);
    QWidget* makePopupMenu(ADMItemRef ref, ASInt32 id);
    QWidget* makeCheckBox(ASInt32 id);
    QWidget* makePushButton(ASInt32 id);
    QWidget* makePictureButton(ASInt32 id);
    QWidget* makeMultiLineText();
    QWidget* makeStaticItem(const host::DialogManager::Item& item);
    QWidget* makeOverlay(ADMItemRef ref, const host::DialogManager::Item& item, QWidget* widget, bool clickable);
    /// Writes a click on the item and has the host carry it out.
    void clickItem(ASInt32 id);
    /// Writes a person's action: as a panel command in the panel (the first palette), as a dialog command
    /// in a modal dialog; what a session can't say is written as a comment.
    void record(const std::string& panelCommand, const std::string& dialogCommand, const std::string& what) const;
    /// Fields first, then buttons, each in the order of their places; nothing else takes the focus.
    void orderTabs();
    void syncView(View& view, const host::DialogManager::Item& item);
    /// The list's entries, their separators and disabled ones, and the active entry.
    void syncPopupList(QComboBox* combo, const host::DialogManager::Item& item);
    const host::DialogManager::Dialog* model() const { return host_.dialogs().dialog(dialog_); }

    host::Host& host_;
    Act act_;
    ADMDialogRef dialog_;
    std::map<ADMItemRef, View> views_;
    SessionRecorder* recorder_ = nullptr;
    QList<QWidget*> tabStops_;
};

/// Paints a dialog display list (dialog pixels) with the plug-in's resources.
void paintDialogDrawing(QPainter& painter, host::Host& host, SPPluginRef plugin,
                        const host::DialogDisplayList& drawing);

}  // namespace workbench
