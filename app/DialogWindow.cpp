#include "DialogWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

#include "ADMDrawer.h"
#include "host/Bundle.h"
#include "host/MacRoman.h"

namespace workbench {

namespace {

using Item = host::DialogManager::Item;

constexpr int kPopupButtonWidth = 14;
constexpr int kMenuButtonSize = 16;
constexpr int kStepButtonWidth = 12;

/// An arrow of a spin edit; it keeps the modifiers of the click that pressed it, Shift for the large step.
class StepButton : public QToolButton {
public:
    using QToolButton::QToolButton;
    bool large() const { return modifiers_.testFlag(Qt::ShiftModifier); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        modifiers_ = event->modifiers();
        QToolButton::mouseReleaseEvent(event);
    }

private:
    Qt::KeyboardModifiers modifiers_;
};

/// Up and Down in a field step it, Shift for the large increment.
class StepKeys : public QObject {
public:
    StepKeys(QObject* parent, std::function<void(bool up, bool large)> step)
        : QObject(parent), step_(std::move(step)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down) return QObject::eventFilter(watched, event);
        step_(key->key() == Qt::Key_Up, key->modifiers().testFlag(Qt::ShiftModifier));
        return true;
    }

private:
    std::function<void(bool, bool)> step_;
};

QString fromPlatform(const std::string& text) {
    QString string = QString::fromStdString(host::macRomanToUtf8(text));
    string.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    string.replace(QChar('\r'), QChar('\n'));
    return string;
}

/// A text shown on a button or check box: an ampersand is no mnemonic.
QString literal(QString text) {
    return text.replace(QChar('&'), QStringLiteral("&&"));
}

QRect rectOf(const ASRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool isField(const std::string& type) {
    return type == kADMSpinEditType || type == kADMSpinEditPopupType;
}

QColor colorOf(ASInt32 color, const QPalette& palette) {
    switch (color) {
        case kADMBlackColor: return Qt::black;
        case kADMWhiteColor: return Qt::white;
        case kADMShadowColor: return palette.color(QPalette::Dark);
        case kADMHiliteColor: return palette.color(QPalette::Highlight);
        default: return palette.color(QPalette::WindowText);
    }
}

QFont fontOf(ASInt32 font, const QFont& base) {
    QFont result = base;
    if (font == kADMBoldDialogFont) result.setBold(true);
    if (font == kADMPaletteFont || font == kADMSmallPaletteFont)
        result.setPointSizeF(base.pointSizeF() * (font == kADMSmallPaletteFont ? 0.8 : 0.9));
    return result;
}

Qt::Alignment alignmentOf(ADMJustify justify) {
    if (justify == kADMCenterJustify) return Qt::AlignHCenter;
    if (justify == kADMRightJustify) return Qt::AlignRight;
    return Qt::AlignLeft;
}

/// A transparent layer over an item: the item's own drawing, and its mouse when it tracks it.
class ItemOverlay : public QWidget {
public:
    std::function<void(QPainter&)> paint;
    std::function<void(int h0, int h1)> drag;

    explicit ItemOverlay(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!paint) return;
        QPainter painter(this);
        paint(painter);
    }
    void mousePressEvent(QMouseEvent* event) override { pressedAt_ = event->position().toPoint().x(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (drag) drag(pressedAt_, event->position().toPoint().x());
    }

private:
    int pressedAt_ = 0;
};

/// The entries of an item's list as menu actions; choose gets the position.
void fillMenu(QMenu* menu, host::Host& host, const Item& item, const std::function<void(int)>& choose) {
    menu->clear();
    const host::DialogManager::List* list = host.dialogs().list(item.list);
    if (!list) return;
    for (std::size_t i = 0; i < list->entries.size(); ++i) {
        const host::DialogManager::Entry* entry = host.dialogs().entry(list->entries[i]);
        if (!entry) continue;
        if (entry->separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(fromPlatform(entry->text));
        action->setEnabled(entry->enabled);
        action->setCheckable(entry->checked);
        action->setChecked(entry->checked);
        int position = static_cast<int>(i);
        QObject::connect(action, &QAction::triggered, menu, [choose, position] { choose(position); });
    }
}

/// A button that pops up the item's list, filled again from the model each time it opens.
QToolButton* listButton(QWidget* parent, host::Host& host, ADMItemRef ref, Qt::ArrowType arrow,
                        std::function<void(int)> choose) {
    auto* button = new QToolButton(parent);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setArrowType(arrow);
    auto* menu = new QMenu(button);
    button->setMenu(menu);
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &host, ref, choose = std::move(choose)] {
        if (const Item* now = host.dialogs().item(ref)) fillMenu(menu, host, *now, choose);
    });
    return button;
}

}  // namespace

QPixmap resourcePixmap(host::Host& host, SPPluginRef plugin, ASInt32 id, QSize size) {
    const host::Bundle* bundle = host.plugins().find(plugin);
    if (!bundle || id == 0) return {};
    std::optional<std::filesystem::path> file = bundle->image("pictures", id);
    if (!file) file = bundle->image("icons", id);
    if (!file) return {};
    QString path = QString::fromStdString(file->string());
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return QPixmap(path);
    if (size.isEmpty()) size = renderer.defaultSize();
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

void paintDialogDrawing(QPainter& painter, host::Host& host, SPPluginRef plugin, const host::DialogDisplayList& drawing) {
    const QPalette palette;
    for (const host::DialogDrawOp& op : drawing) {
        QColor color = colorOf(op.color, palette);
        QRect rect = rectOf(op.rect);
        painter.setFont(fontOf(op.font, QFont()));
        switch (op.kind) {
            case host::DialogDrawOp::Kind::standard: break;  // the widget beneath draws itself
            case host::DialogDrawOp::Kind::clear: painter.fillRect(rect, palette.color(QPalette::Window)); break;
            case host::DialogDrawOp::Kind::fill: painter.fillRect(rect, color); break;
            case host::DialogDrawOp::Kind::frame:
                painter.setPen(color);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(rect.adjusted(0, 0, -1, -1));
                break;
            case host::DialogDrawOp::Kind::text:
                painter.setPen(color);
                painter.drawText(QPoint(op.at.h, op.at.v), fromPlatform(op.text));
                break;
            case host::DialogDrawOp::Kind::centeredText:
                painter.setPen(color);
                painter.drawText(rect, Qt::AlignCenter, fromPlatform(op.text));
                break;
            case host::DialogDrawOp::Kind::icon: {
                QPixmap pixmap = resourcePixmap(host, plugin, op.icon);
                if (!pixmap.isNull()) painter.drawPixmap(QPoint(op.at.h, op.at.v), pixmap);
                break;
            }
        }
    }
}

DialogWindow::DialogWindow(host::Host& host, Act act, ADMDialogRef dialog, QWidget* parent)
    : QDialog(parent), host_(host), act_(std::move(act)), dialog_(dialog) {
    const host::DialogManager::Dialog* shown = model();
    if (shown && shown->modal) {
        setModal(true);
    } else {
        setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    }
    sync();
}

QWidget* DialogWindow::itemWidget(ASInt32 itemID) const {
    ADMItemRef ref = host_.dialogs().findItem(dialog_, itemID);
    auto found = views_.find(ref);
    return found == views_.end() ? nullptr : found->second.widget;
}

DialogWindow::View DialogWindow::makeView(ADMItemRef ref, const Item& item) {
    View view;
    view.type = item.type;
    const std::string& type = item.type;
    ADMDialogRef dialog = dialog_;
    ASInt32 id = item.id;
    host::Host& host = host_;
    Act act = act_;
    if (isField(type)) {
        auto* box = new QWidget(this);
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        auto* edit = new QLineEdit(box);
        edit->setObjectName(QStringLiteral("edit"));
        layout->addWidget(edit);
        QObject::connect(edit, &QLineEdit::returnPressed, edit, [=, &host] {
            std::string text = edit->text().toStdString();
            edit->setModified(false);
            act([&] { host.typeIntoItem(dialog, id, text); });
        });
        QObject::connect(edit, &QLineEdit::editingFinished, edit, [=, &host] {
            // Leaving a field that was edited confirms it, as Return does.
            if (!edit->isModified()) return;
            std::string text = edit->text().toStdString();
            edit->setModified(false);
            act([&] { host.typeIntoItem(dialog, id, text); });
        });
        // A step starts from the value held: an unconfirmed text is dropped.
        auto step = [=, &host](bool up, bool large) {
            edit->setModified(false);
            act([&] { host.stepItem(dialog, id, up, large); });
        };
        edit->installEventFilter(new StepKeys(edit, step));
        auto* arrows = new QWidget(box);
        arrows->setFixedWidth(kStepButtonWidth);
        auto* stack = new QVBoxLayout(arrows);
        stack->setContentsMargins(0, 0, 0, 0);
        stack->setSpacing(0);
        for (bool up : {true, false}) {
            auto* arrow = new StepButton(arrows);
            arrow->setObjectName(up ? QStringLiteral("stepUp") : QStringLiteral("stepDown"));
            arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
            QObject::connect(arrow, &QToolButton::clicked, arrow, [=] { step(up, arrow->large()); });
            stack->addWidget(arrow);
        }
        layout->addWidget(arrows);
        if (type == kADMSpinEditPopupType) {
            auto* button = listButton(box, host, ref, Qt::DownArrow, [=, &host](int position) {
                // The entry's ID as the list holds it when chosen.
                const Item* field = host.dialogs().item(ref);
                const host::DialogManager::List* list = field ? host.dialogs().list(field->list) : nullptr;
                if (!list || position >= static_cast<int>(list->entries.size())) return;
                const host::DialogManager::Entry* entry =
                    host.dialogs().entry(list->entries[static_cast<std::size_t>(position)]);
                if (!entry) return;
                ASInt32 entryID = entry->id;
                act([&] { host.pickPreset(dialog, id, entryID); });
            });
            button->setObjectName(QStringLiteral("popup"));
            button->setFixedWidth(kPopupButtonWidth);
            layout->addWidget(button);
        }
        view.widget = box;
    } else if (type == kADMPopupListType) {
        auto* combo = new QComboBox(this);
        QObject::connect(combo, &QComboBox::activated, combo,
                         [=, &host](int position) { act([&] { host.pickEntry(dialog, id, position); }); });
        view.widget = combo;
    } else if (type == kADMPopupMenuType) {
        view.widget = listButton(this, host, ref, Qt::RightArrow, [=, &host](int position) {
            if (id == kADMMenuItemID)
                act([&] { host.chooseDialogMenu(dialog, position); });
            else
                act([&] { host.pickEntry(dialog, id, position); });
        });
    } else if (type == kADMTextCheckBoxType) {
        auto* check = new QCheckBox(this);
        QObject::connect(check, &QCheckBox::clicked, check, [=, &host] { act([&] { host.clickItem(dialog, id); }); });
        view.widget = check;
    } else if (type == kADMTextPushButtonType) {
        auto* button = new QPushButton(this);
        // Return confirms the field being typed in, not the dialog.
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, button, [=, &host] { act([&] { host.clickItem(dialog, id); }); });
        view.widget = button;
    } else if (type == kADMPicturePushButtonType) {
        auto* button = new QToolButton(this);
        button->setAutoRaise(true);
        QObject::connect(button, &QToolButton::clicked, button, [=, &host] { act([&] { host.clickItem(dialog, id); }); });
        view.widget = button;
    } else {
        // Static texts and pictures: a click is the item's notification.
        auto* label = new QLabel(this);
        label->setWordWrap(type == kADMTextStaticMultiLineType);
        if (type == kADMPictureStaticType)
            label->setAlignment(Qt::AlignCenter);
        else
            label->setAlignment(alignmentOf(item.justify) |
                                (type == kADMTextStaticMultiLineType ? Qt::AlignTop : Qt::AlignVCenter));
        view.widget = label;
    }
    view.widget->setObjectName(view.widget->objectName().isEmpty() ? QString("item%1").arg(id) : view.widget->objectName());
    view.widget->setProperty("admItemID", id);
    bool clickable = type == kADMPictureStaticType || type == kADMTextStaticType || type == kADMTextStaticMultiLineType;
    if (item.draw || item.track || clickable) {
        auto* overlay = new ItemOverlay(this);
        // Over a control that takes the mouse itself, the layer only paints.
        if (!item.track && !clickable) overlay->setAttribute(Qt::WA_TransparentForMouseEvents);
        SPPluginRef plugin = model()->plugin;
        overlay->paint = [this, ref, plugin](QPainter& painter) {
            const Item* drawn = host_.dialogs().item(ref);
            if (!drawn) return;
            // The drawing is in dialog pixels.
            painter.translate(-drawn->rect.left, -drawn->rect.top);
            paintDialogDrawing(painter, host_, plugin, drawn->drawing);
        };
        overlay->drag = [=, &host](int h0, int h1) {
            const Item* now = host.dialogs().item(ref);
            if (!now) return;
            if (now->track)
                act([&] { host.dragItem(dialog, id, h0, h1); });
            else
                act([&] { host.clickItem(dialog, id); });
        };
        view.overlay = overlay;
    }
    return view;
}

void DialogWindow::syncView(View& view, const Item& item) {
    QWidget* widget = view.widget;
    QRect rect = rectOf(item.rect);
    const std::string& type = item.type;
    const host::DialogManager::Dialog* dialog = model();
    if (item.id == kADMMenuItemID) {
        // The fly-out menu sits in the title bar: here, a small button at the top right.
        rect = QRect(rectOf(dialog->bounds).width(), 0, kMenuButtonSize, kMenuButtonSize);
    }
    widget->setGeometry(rect);
    widget->setEnabled(item.enabled);
    widget->setVisible(item.visible);
    widget->setToolTip(item.tooltipEnabled ? fromPlatform(item.tooltip) : QString());
    QString text = fromPlatform(item.text);
    if (isField(type)) {
        auto* edit = widget->findChild<QLineEdit*>(QStringLiteral("edit"));
        // What a person is typing stays until confirmed.
        if (!edit->isModified() && edit->text() != text) edit->setText(text);
        edit->setAlignment(alignmentOf(item.justify));
    } else if (type == kADMPopupListType) {
        auto* combo = static_cast<QComboBox*>(widget);
        QStringList texts;
        int active = -1;
        if (const host::DialogManager::List* list = host_.dialogs().list(item.list)) {
            for (std::size_t i = 0; i < list->entries.size(); ++i) {
                const host::DialogManager::Entry* entry = host_.dialogs().entry(list->entries[i]);
                texts << (entry ? fromPlatform(entry->text) : QString());
                if (list->entries[i] == list->active) active = static_cast<int>(i);
            }
        }
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
        combo->blockSignals(true);
        if (shown != texts) {
            combo->clear();
            combo->addItems(texts);
        }
        combo->setCurrentIndex(active);
        combo->blockSignals(false);
    } else if (type == kADMTextCheckBoxType) {
        auto* check = static_cast<QCheckBox*>(widget);
        check->setText(literal(text));
        check->setChecked(item.value != 0.0f);
    } else if (type == kADMTextPushButtonType) {
        static_cast<QPushButton*>(widget)->setText(literal(text));
    } else if (type == kADMPicturePushButtonType) {
        auto* button = static_cast<QToolButton*>(widget);
        if (view.picture != item.picture) {
            view.picture = item.picture;
            QPixmap picture = resourcePixmap(host_, dialog->plugin, item.picture);
            button->setIcon(QIcon(picture));
            button->setIconSize(picture.size().boundedTo(rect.size()));
        }
        if (button->icon().isNull()) button->setText(literal(text));
    } else if (type != kADMPopupMenuType) {
        auto* label = static_cast<QLabel*>(widget);
        label->setFont(fontOf(item.font, font()));
        if (type == kADMPictureStaticType) {
            if (view.picture != item.picture) {
                view.picture = item.picture;
                label->setPixmap(resourcePixmap(host_, dialog->plugin, item.picture));
            }
        } else if (label->text() != text) {
            label->setText(text);
        }
    }
    if (view.overlay) {
        view.overlay->setGeometry(rect);
        view.overlay->setVisible(item.visible);
        view.overlay->setEnabled(item.enabled);
        view.overlay->setToolTip(widget->toolTip());
        view.overlay->raise();
        view.overlay->update();
    }
}

bool DialogWindow::sync() {
    const host::DialogManager::Dialog* dialog = model();
    if (!dialog) return false;
    setWindowTitle(QString::fromStdString(host_.dialogs().titleOf(dialog_)));
    QRect bounds = rectOf(dialog->bounds);
    bool hasMenu = false;
    for (ADMItemRef ref : dialog->items) {
        const Item* item = host_.dialogs().item(ref);
        if (!item) continue;
        if (item->id == kADMMenuItemID) hasMenu = true;
        auto found = views_.find(ref);
        if (found == views_.end()) found = views_.emplace(ref, makeView(ref, *item)).first;
        // The procedures may have removed items: the model is looked up again for each.
        item = host_.dialogs().item(ref);
        if (item) syncView(found->second, *item);
    }
    for (auto it = views_.begin(); it != views_.end();) {
        if (host_.dialogs().item(it->first)) {
            ++it;
            continue;
        }
        delete it->second.widget;
        delete it->second.overlay;
        it = views_.erase(it);
    }
    setFixedSize(std::max(bounds.width() + (hasMenu ? kMenuButtonSize : 0), 1), std::max(bounds.height(), 1));
    update();
    return true;
}

void DialogWindow::paintEvent(QPaintEvent*) {
    const host::DialogManager::Dialog* dialog = model();
    if (!dialog) return;
    QPainter painter(this);
    paintDialogDrawing(painter, host_, dialog->plugin, dialog->drawing);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    const host::DialogManager::Dialog* dialog = model();
    if (!dialog) return;
    if (dialog->modal) {
        if (onDismiss) onDismiss();
        return;
    }
    ADMDialogRef ref = dialog_;
    host::Host& host = host_;
    act_([&] { host.closeDialog(ref); });
}

void DialogWindow::reject() {
    // Escape and the close box: the model decides whether the window goes.
    const host::DialogManager::Dialog* dialog = model();
    if (dialog && dialog->modal && onDismiss) onDismiss();
}

}  // namespace workbench
