// The layers panel: the document's layers, topmost first, each with whether it is
// shown and whether it is locked, the current one marked. A click makes a layer
// current; the boxes show, hide, lock and unlock it; its name is edited in place;
// the buttons add a layer, delete the current one with its art, and move it up or
// down. Each change is one step of the host's history, written to the recording;
// the panel mirrors the document after every action, undo and redo included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include <QWidget>

#include "Canvas.h"
#include "SessionRecorder.h"
#include "host/Host.h"

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace workbench {

class LayersPanel : public QWidget {
    Q_OBJECT
public:
    enum Column { kShownColumn, kLockedColumn, kNameColumn };

    LayersPanel(host::Host& host, Act act, SessionRecorder* recorder, QWidget* parent = nullptr);

    /// Shows the layers as the document has them, when they changed since last shown.
    void sync();
    /// Room for the two boxes and a name: the panel does not take the canvas's place.
    QSize sizeHint() const override;

    /// Asked before a layer that holds art is deleted with it: true to delete. A question box by default.
    std::function<bool(const QString& layerName, std::size_t artCount)> confirmDelete;

    QTreeWidget* list() const { return list_; }
    QToolButton* addButton() const { return add_; }
    QToolButton* deleteButton() const { return delete_; }
    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

private:
    void rowChanged(QTreeWidgetItem* item, int column);
    void rowChosen(QTreeWidgetItem* item);
    void addLayer();
    void deleteCurrentLayer();
    /// Moves the current layer by rows, up being negative.
    void moveCurrentLayer(int rows);
    /// Records the line, then makes the change as one step.
    void change(const std::string& line, const std::function<void(host::Document&)>& what);
    /// A name no layer has yet: "Layer N".
    std::string freshName() const;

    host::Host& host_;
    Act act_;
    SessionRecorder* recorder_;
    QTreeWidget* list_;
    QToolButton* add_;
    QToolButton* delete_;
    QToolButton* up_;
    QToolButton* down_;
    std::uint64_t shownRevision_ = 0;
    bool shownOnce_ = false;
};

}  // namespace workbench
