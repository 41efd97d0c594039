#include "LayersPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace workbench {

namespace {

/// The panel's width when first shown.
constexpr int kPreferredWidth = 220;

Qt::CheckState checkState(bool checked) {
    return checked ? Qt::Checked : Qt::Unchecked;
}

std::string index(std::size_t row) {
    return std::to_string(row);
}

}  // namespace

LayersPanel::LayersPanel(host::Host& host, Act act, SessionRecorder* recorder, QWidget* parent)
    : QWidget(parent),
      host_(host),
      act_(std::move(act)),
      recorder_(recorder),
      list_(new QTreeWidget),
      add_(new QToolButton),
      delete_(new QToolButton),
      up_(new QToolButton),
      down_(new QToolButton) {
    add_->setText(QStringLiteral("Add"));
    delete_->setText(QStringLiteral("Delete"));
    up_->setText(QStringLiteral("Up"));
    down_->setText(QStringLiteral("Down"));
    confirmDelete = [this](const QString& name, std::size_t artCount) {
        return QMessageBox::question(
                   this, QStringLiteral("Delete Layer"),
                   QStringLiteral("Delete the layer \"%1\" and the %2 paths it holds?").arg(name).arg(artCount),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
    list_->setObjectName(QStringLiteral("layers"));
    list_->setColumnCount(3);
    list_->setHeaderLabels({QStringLiteral("Shown"), QStringLiteral("Locked"), QStringLiteral("Name")});
    list_->setRootIsDecorated(false);
    list_->header()->setStretchLastSection(true);
    list_->header()->setSectionResizeMode(kShownColumn, QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(kLockedColumn, QHeaderView::ResizeToContents);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    add_->setToolTip(QStringLiteral("Add a layer above the current one"));
    delete_->setToolTip(QStringLiteral("Delete the current layer with its art"));
    up_->setToolTip(QStringLiteral("Move the current layer up"));
    down_->setToolTip(QStringLiteral("Move the current layer down"));

    auto* buttons = new QHBoxLayout;
    for (QToolButton* button : {add_, delete_, up_, down_}) buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    connect(list_, &QTreeWidget::itemChanged, this, &LayersPanel::rowChanged);
    // A click anywhere on a row makes its layer current, on its boxes too.
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { rowChosen(item); });
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { rowChosen(item); });
    connect(add_, &QToolButton::clicked, this, [this] { addLayer(); });
    connect(delete_, &QToolButton::clicked, this, [this] { deleteCurrentLayer(); });
    connect(up_, &QToolButton::clicked, this, [this] { moveCurrentLayer(-1); });
    connect(down_, &QToolButton::clicked, this, [this] { moveCurrentLayer(1); });
}

QSize LayersPanel::sizeHint() const {
    return {kPreferredWidth, QWidget::sizeHint().height()};
}

void LayersPanel::sync() {
    const host::Document& document = host_.document();
    if (shownOnce_ && shownRevision_ == document.layersRevision()) return;
    shownOnce_ = true;
    shownRevision_ = document.layersRevision();
    // Every row rewritten, in place: this may run inside a row's own signal, which must not lose its row.
    QSignalBlocker blocker(list_);
    const auto count = static_cast<int>(document.layerCount());
    while (list_->topLevelItemCount() > count) delete list_->takeTopLevelItem(list_->topLevelItemCount() - 1);
    while (list_->topLevelItemCount() < count) {
        auto* item = new QTreeWidgetItem(list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
    }
    const std::size_t current = document.layerPosition(document.currentLayer());
    for (std::size_t row = 0; row < document.layerCount(); ++row) {
        const host::Document::Layer& layer = *document.findLayer(document.layerAt(row));
        QTreeWidgetItem* item = list_->topLevelItem(static_cast<int>(row));
        item->setCheckState(kShownColumn, checkState(!layer.hidden));
        item->setCheckState(kLockedColumn, checkState(layer.locked));
        item->setText(kNameColumn, QString::fromStdString(layer.name));
        QFont font = item->font(kNameColumn);
        font.setBold(row == current);
        item->setFont(kNameColumn, font);
    }
    list_->setCurrentItem(list_->topLevelItem(static_cast<int>(current)), kNameColumn);
    delete_->setEnabled(document.layerCount() > 1);
    up_->setEnabled(current > 0);
    down_->setEnabled(current + 1 < document.layerCount());
}

void LayersPanel::change(const std::string& line, const std::function<void(host::Document&)>& what) {
    if (recorder_) recorder_->add(line);
    act_([&] {
        host_.views().invalidate();
        host_.edit(what);
    });
    // A change the host refused leaves the rows as the person left them: show the document's again.
    shownOnce_ = false;
    sync();
}

void LayersPanel::rowChanged(QTreeWidgetItem* item, int column) {
    const auto row = static_cast<std::size_t>(list_->indexOfTopLevelItem(item));
    AILayerHandle layer = host_.document().layerAt(row);
    const host::Document::Layer& now = *host_.document().findLayer(layer);
    if (column == kShownColumn) {
        const bool hidden = item->checkState(kShownColumn) != Qt::Checked;
        if (hidden != now.hidden)
            change("layer " + std::string(hidden ? "hide " : "show ") + index(row),
                   [&](host::Document& document) { document.setLayerHidden(layer, hidden); });
    } else if (column == kLockedColumn) {
        const bool locked = item->checkState(kLockedColumn) == Qt::Checked;
        if (locked != now.locked)
            change("layer " + std::string(locked ? "lock " : "unlock ") + index(row),
                   [&](host::Document& document) { document.setLayerLocked(layer, locked); });
    } else if (column == kNameColumn) {
        const std::string name = item->text(kNameColumn).trimmed().toStdString();
        if (name.empty() || name == now.name) {
            shownOnce_ = false;
            sync();
            return;
        }
        change("layer name " + index(row) + " " + SessionRecorder::quoted(name),
               [&](host::Document& document) { document.setLayerName(layer, name); });
    }
}

void LayersPanel::rowChosen(QTreeWidgetItem* item) {
    if (!item) return;
    const auto row = static_cast<std::size_t>(list_->indexOfTopLevelItem(item));
    const host::Document& document = host_.document();
    if (row >= document.layerCount() || document.layerAt(row) == document.currentLayer()) return;
    AILayerHandle layer = document.layerAt(row);
    change("layer current " + index(row), [&](host::Document& changed) { changed.setCurrentLayer(layer); });
}

std::string LayersPanel::freshName() const {
    const host::Document& document = host_.document();
    for (std::size_t n = document.layerCount() + 1;; ++n) {
        std::string name = "Layer " + std::to_string(n);
        bool taken = false;
        for (std::size_t row = 0; row < document.layerCount() && !taken; ++row)
            taken = document.findLayer(document.layerAt(row))->name == name;
        if (!taken) return name;
    }
}

void LayersPanel::addLayer() {
    const std::string name = freshName();
    change("layer add " + SessionRecorder::quoted(name),
           [&](host::Document& document) { document.addLayerAboveCurrent(name); });
}

void LayersPanel::deleteCurrentLayer() {
    const host::Document& document = host_.document();
    AILayerHandle layer = document.currentLayer();
    const host::Document::Layer& found = *document.findLayer(layer);
    if (document.layerCount() < 2) return;
    if (!found.art.empty() && !confirmDelete(QString::fromStdString(found.name), found.art.size())) return;
    change("layer delete " + index(document.layerPosition(layer)),
           [&](host::Document& changed) { changed.deleteLayer(layer); });
}

void LayersPanel::moveCurrentLayer(int rows) {
    const host::Document& document = host_.document();
    AILayerHandle layer = document.currentLayer();
    const auto from = static_cast<long>(document.layerPosition(layer));
    const long to = from + rows;
    if (to < 0 || to >= static_cast<long>(document.layerCount())) return;
    change("layer move " + std::to_string(from) + " " + std::to_string(to),
           [&](host::Document& changed) { changed.moveLayer(layer, static_cast<std::size_t>(to)); });
}

}  // namespace workbench
