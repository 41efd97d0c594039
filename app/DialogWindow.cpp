#include "DialogWindow.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <tuple>

#include <QApplication>
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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

#include "ADMDrawer.h"
#include "PluginFacts.h"
#include "host/platform/Bundle.h"
#include "host/text/MacRoman.h"

namespace workbench {

namespace {

using Item = host::DialogManager::Item;

constexpr int kPopupButtonWidth = 12;
constexpr int kMenuButtonSize = 16;
constexpr int kStepButtonWidth = 10;
/// The dialog font's size in pixels, and the palette fonts' share of it.
constexpr int kDialogFontPixels = 11;
constexpr double kPaletteFontShare = 0.9;
constexpr double kSmallPaletteFontShare = 0.8;
/// Room beside a window title for the window manager's buttons and borders.
constexpr int kTitleAllowance = 110;
/// The panel's fields, as sessions name them.
using plugin_facts::kAngleField;
using plugin_facts::kLengthField;

/// A typed text as a session's number: the digits with a point for a decimal comma, the unit left out;
/// nullopt for a text that is not a number (the field beeps at it).
std::optional<std::string> typedNumber(std::string text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.erase(text.begin());
    std::size_t end = text.find_last_of("0123456789");
    if (end == std::string::npos) return std::nullopt;
    text.erase(end + 1);
    for (char& c : text)
        if (c == ',') c = '.';
    double value = 0;
    auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size()) return std::nullopt;
    return text;
}

std::string stepWords(bool up, bool large) {
    return std::string(up ? "up" : "down") + (large ? " large" : "");
}

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
        case kADMBlackColor:
            return Qt::black;
        case kADMWhiteColor:
            return Qt::white;
        case kADMShadowColor:
            return palette.color(QPalette::Dark);
        case kADMHiliteColor:
            return palette.color(QPalette::Highlight);
        default:
            return palette.color(QPalette::WindowText);
    }
}

QFont fontOf(ASInt32 font, const QFont& base) {
    QFont result = base;
    if (font == kADMBoldDialogFont) result.setBold(true);
    if (font == kADMPaletteFont || font == kADMSmallPaletteFont)
        result.setPixelSize(static_cast<int>(std::lround(
            base.pixelSize() * (font == kADMSmallPaletteFont ? kSmallPaletteFontShare : kPaletteFontShare))));
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
    /// A scrolling text beneath: it takes the wheel, and the keys once clicked.
    QAbstractScrollArea* scroller = nullptr;

    explicit ItemOverlay(QWidget* parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!paint) return;
        QPainter painter(this);
        paint(painter);
    }
    void mousePressEvent(QMouseEvent* event) override {
        pressedAt_ = event->position().toPoint().x();
        if (scroller) scroller->setFocus(Qt::MouseFocusReason);
    }
    void wheelEvent(QWheelEvent* event) override {
        if (!scroller) return QWidget::wheelEvent(event);
        QCoreApplication::sendEvent(scroller->viewport(), event);
    }
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

void paintDialogDrawing(QPainter& painter, host::Host& host, SPPluginRef plugin,
                        const host::DialogDisplayList& drawing) {
    const QPalette palette;
    for (const host::DialogDrawOp& op : drawing) {
        QColor color = colorOf(op.color, palette);
        QRect rect = rectOf(op.rect);
        painter.setFont(fontOf(op.font, dialogFont()));
        switch (op.kind) {
            case host::DialogDrawOp::Kind::standard:
                break;  // the widget beneath draws itself
            case host::DialogDrawOp::Kind::clear:
                painter.fillRect(rect, palette.color(QPalette::Window));
                break;
            case host::DialogDrawOp::Kind::fill:
                painter.fillRect(rect, color);
                break;
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
    // A title and a close box only: the window is as large as the plug-in made it.
    Qt::WindowFlags frame = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (shown && shown->modal) {
        setModal(true);
        setWindowFlags(Qt::Dialog | frame);
    } else {
        setWindowFlags(Qt::Tool | frame);
    }
    setFont(dialogFont());
    sync();
}

QFont dialogFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStretch(QFont::SemiCondensed);
    font.setPixelSize(kDialogFontPixels);
    return font;
}

QList<QWidget*> DialogWindow::tabStops() const {
    return tabStops_;
}

void DialogWindow::orderTabs() {
    struct Stop {
        bool button;
        ASInt32 top, left;
        QWidget* widget;
    };
    std::vector<Stop> stops;
    for (const auto& [ref, view] : views_) {
        const Item* item = host_.dialogs().item(ref);
        // A field's box hands the focus to its line edit.
        QWidget* taker = view.widget->focusProxy() ? view.widget->focusProxy() : view.widget;
        if (!item || !(taker->focusPolicy() & Qt::TabFocus)) continue;
        bool button = item->type == kADMTextPushButtonType || item->type == kADMPicturePushButtonType;
        stops.push_back({button, item->rect.top, item->rect.left, taker});
    }
    std::sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return std::tie(a.button, a.top, a.left) < std::tie(b.button, b.top, b.left);
    });
    QList<QWidget*> order;
    for (const Stop& stop : stops) order.push_back(stop.widget);
    if (order == tabStops_) return;
    tabStops_ = order;
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void DialogWindow::record(const std::string& panelCommand, const std::string& dialogCommand,
                          const std::string& what) const {
    if (!recorder_) return;
    const host::DialogManager::Dialog* dialog = model();
    // Sessions have commands for one palette only, the panel.
    if (dialog_ == plugin_facts::panelOf(host_.dialogs()) && !panelCommand.empty())
        recorder_->add(panelCommand);
    else if (dialog && dialog->modal && !dialogCommand.empty())
        recorder_->add(dialogCommand);
    else
        recorder_->add("# not played back: " + what + " in \"" + host_.dialogs().titleOf(dialog_) + "\"");
}

QWidget* DialogWindow::itemWidget(ASInt32 itemID) const {
    ADMItemRef ref = host_.dialogs().findItem(dialog_, itemID);
    auto found = views_.find(ref);
    return found == views_.end() ? nullptr : found->second.widget;
}

void DialogWindow::clickItem(ASInt32 id) {
    // Copies the handlers keep: the window may go while the host carries an action out.
    ADMDialogRef dialog = dialog_;
    host::Host& host = host_;
    Act act = act_;
    record("panel click " + std::to_string(id), "dialog click " + std::to_string(id), "a click");
    act([&] { host.clickItem(dialog, id); });
}

QWidget* DialogWindow::makeField(ADMItemRef ref, const Item& item) {
    // Copies the handlers keep: the window may go while the host carries an action out.
    ADMDialogRef dialog = dialog_;
    host::Host& host = host_;
    Act act = act_;
    const ASInt32 id = item.id;
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* edit = new QLineEdit(box);
    edit->setObjectName(QStringLiteral("edit"));
    // The whole rectangle is the text's: the item's value fits as the plug-in measured it.
    edit->setFrame(false);
    edit->setTextMargins(0, 0, 0, 0);
    box->setFocusProxy(edit);
    layout->addWidget(edit);
    std::string fieldName = id == kLengthField ? "length" : id == kAngleField ? "angle" : "";
    auto confirm = [=, this, &host] {
        std::string text = edit->text().toStdString();
        edit->setModified(false);
        std::optional<std::string> number = typedNumber(text);
        record(number && !fieldName.empty() ? "panel " + fieldName + " " + *number : "",
               number ? "dialog set " + std::to_string(id) + " " + *number : "", "typing \"" + text + "\"");
        act([&] { host.typeIntoItem(dialog, id, text); });
    };
    QObject::connect(edit, &QLineEdit::returnPressed, edit, confirm);
    QObject::connect(edit, &QLineEdit::editingFinished, edit, [=] {
        // Leaving a field that was edited confirms it, as Return does.
        if (edit->isModified()) confirm();
    });
    // A step starts from the value held: an unconfirmed text is dropped.
    auto step = [=, this, &host](bool up, bool large) {
        edit->setModified(false);
        record(fieldName.empty() ? "" : "panel step " + fieldName + " " + stepWords(up, large),
               "dialog step " + std::to_string(id) + " " + stepWords(up, large), "a step");
        act([&] { host.stepItem(dialog, id, up, large); });
    };
    edit->installEventFilter(new StepKeys(edit, step));
    layout->addWidget(makeStepArrows(box, step));
    if (item.type == kADMSpinEditPopupType) layout->addWidget(makePresetButton(box, ref, id, fieldName));
    return box;
}

QWidget* DialogWindow::makeStepArrows(QWidget* box, const std::function<void(bool up, bool large)>& step) {
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
    return arrows;
}

QWidget* DialogWindow::makePresetButton(QWidget* box, ADMItemRef ref, ASInt32 id, const std::string& fieldName) {
    // Copies the handlers keep: the window may go while the host carries an action out.
    ADMDialogRef dialog = dialog_;
    host::Host& host = host_;
    Act act = act_;
    auto* button = listButton(box, host, ref, Qt::DownArrow, [=, this, &host](int position) {
        // The entry's ID as the list holds it when chosen.
        const Item* field = host.dialogs().item(ref);
        const host::DialogManager::List* list = field ? host.dialogs().list(field->list) : nullptr;
        if (!list || position >= static_cast<int>(list->entries.size())) return;
        const host::DialogManager::Entry* entry =
            host.dialogs().entry(list->entries[static_cast<std::size_t>(position)]);
        if (!entry) return;
        ASInt32 entryID = entry->id;
        record(fieldName.empty() ? "" : "panel pick " + fieldName + " " + std::to_string(entryID), "", "a preset");
        act([&] { host.pickPreset(dialog, id, entryID); });
    });
    button->setObjectName(QStringLiteral("popup"));
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedWidth(kPopupButtonWidth);
    return button;
}

QWidget* DialogWindow::makePopupList(ASInt32 id) {
    // Copies the handlers keep: the window may go while the host carries an action out.
    ADMDialogRef dialog = dialog_;
    host::Host& host = host_;
    Act act = act_;
    auto* combo = new QComboBox(this);
    QObject::connect(combo, &QComboBox::activated, combo, [=, this, &host](int position) {
        record("", "dialog pick " + std::to_string(id) + " " + std::to_string(position), "a list entry");
        act([&] { host.pickEntry(dialog, id, position); });
    });
    return combo;
}

QWidget* DialogWindow::makePopupMenu(ADMItemRef ref, ASInt32 id) {
    // Copies the handlers keep: the window may go while the host carries an action out.
    ADMDialogRef dialog = dialog_;
    host::Host& host = host_;
    Act act = act_;
    QWidget* menu = listButton(this, host_, ref, Qt::RightArrow, [=, this, &host](int position) {
        if (id == kADMMenuItemID) {
            record("panel menu " + std::to_string(position), "", "a menu entry");
            act([&] { host.chooseDialogMenu(dialog, position); });
        } else {
            record("", "dialog pick " + std::to_string(id) + " " + std::to_string(position), "a list entry");
            act([&] { host.pickEntry(dialog, id, position); });
        }
    });
    // A menu opens with the mouse; Tab goes only to fields and buttons.
    menu->setFocusPolicy(Qt::NoFocus);
    return menu;
}

QWidget* DialogWindow::makeCheckBox(ASInt32 id) {
    auto* check = new QCheckBox(this);
    QObject::connect(check, &QCheckBox::clicked, check, [=, this] { clickItem(id); });
    return check;
}

QWidget* DialogWindow::makePushButton(ASInt32 id) {
    auto* button = new QPushButton(this);
    // Return confirms the field being typed in, not the dialog.
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [=, this] { clickItem(id); });
    return button;
}

QWidget* DialogWindow::makePictureButton(ASInt32 id) {
    auto* button = new QToolButton(this);
    button->setAutoRaise(true);
    // A picture that answers a click, often a field's label: the mouse's, not a stop of Tab.
    button->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button, &QToolButton::clicked, button, [=, this] { clickItem(id); });
    return button;
}

QWidget* DialogWindow::makeMultiLineText() {
    // A text longer than its item scrolls: with the wheel, and with the keys once clicked.
    auto* text = new QPlainTextEdit(this);
    text->setReadOnly(true);
    // The arrows and the page keys move through it; nothing can be typed.
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text->setFrameShape(QFrame::NoFrame);
    text->setFocusPolicy(Qt::ClickFocus);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    text->setContextMenuPolicy(Qt::NoContextMenu);
    text->viewport()->setAutoFillBackground(false);
    text->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    text->document()->setDocumentMargin(0);
    return text;
}

QWidget* DialogWindow::makeStaticItem(const Item& item) {
    // Static texts and pictures: a click is the item's notification.
    auto* label = new QLabel(this);
    if (item.type == kADMPictureStaticType)
        label->setAlignment(Qt::AlignCenter);
    else
        label->setAlignment(alignmentOf(item.justify) | Qt::AlignVCenter);
    return label;
}

QWidget* DialogWindow::makeOverlay(ADMItemRef ref, const Item& item, QWidget* widget, bool clickable) {
    // Copies the handlers keep: the window may go while the host carries an action out.
    ADMDialogRef dialog = dialog_;
    host::Host& host = host_;
    Act act = act_;
    const ASInt32 id = item.id;
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
    overlay->drag = [=, this, &host](int h0, int h1) {
        const Item* now = host_.dialogs().item(ref);
        if (!now) return;
        if (now->track) {
            record("", "dialog drag " + std::to_string(id) + " " + std::to_string(h0) + " " + std::to_string(h1),
                   "a drag");
            act([&] { host.dragItem(dialog, id, h0, h1); });
        } else {
            clickItem(id);
        }
    };
    overlay->scroller = qobject_cast<QAbstractScrollArea*>(widget);
    return overlay;
}

QWidget* DialogWindow::makeWidget(ADMItemRef ref, const Item& item) {
    const std::string& type = item.type;
    if (isField(type)) return makeField(ref, item);
    if (type == kADMPopupListType) return makePopupList(item.id);
    if (type == kADMPopupMenuType) return makePopupMenu(ref, item.id);
    if (type == kADMTextCheckBoxType) return makeCheckBox(item.id);
    if (type == kADMTextPushButtonType) return makePushButton(item.id);
    if (type == kADMPicturePushButtonType) return makePictureButton(item.id);
    if (type == kADMTextStaticMultiLineType) return makeMultiLineText();
    return makeStaticItem(item);
}

DialogWindow::View DialogWindow::makeView(ADMItemRef ref, const Item& item) {
    View view;
    view.type = item.type;
    const std::string& type = item.type;
    const ASInt32 id = item.id;
    view.widget = makeWidget(ref, item);
    view.widget->setObjectName(view.widget->objectName().isEmpty() ? QString("item%1").arg(id)
                                                                   : view.widget->objectName());
    view.widget->setProperty("admItemID", id);
    bool clickable = type == kADMPictureStaticType || type == kADMTextStaticType || type == kADMTextStaticMultiLineType;
    if (item.draw || item.track || clickable) view.overlay = makeOverlay(ref, item, view.widget, clickable);
    return view;
}

void DialogWindow::syncPopupList(QComboBox* combo, const Item& item) {
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
        // A separator row is a line: it neither lights up nor can be chosen; a disabled entry can't be chosen.
        auto* rows = qobject_cast<QStandardItemModel*>(combo->model());
        const host::DialogManager::List* list = host_.dialogs().list(item.list);
        for (int i = 0; rows && list && i < combo->count(); ++i) {
            const host::DialogManager::Entry* entry = host_.dialogs().entry(list->entries[static_cast<std::size_t>(i)]);
            if (!entry || (!entry->separator && entry->enabled)) continue;
            rows->item(i)->setFlags(entry->separator ? Qt::NoItemFlags : Qt::ItemIsSelectable);
            if (entry->separator) combo->setItemData(i, QStringLiteral("separator"), Qt::AccessibleDescriptionRole);
        }
    }
    combo->setCurrentIndex(active);
    combo->blockSignals(false);
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
        syncPopupList(static_cast<QComboBox*>(widget), item);
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
    } else if (type == kADMTextStaticMultiLineType) {
        auto* shown = static_cast<QPlainTextEdit*>(widget);
        shown->setFont(fontOf(item.font, dialogFont()));
        if (shown->toPlainText() != text) {
            shown->setPlainText(text);
            QTextOption option = shown->document()->defaultTextOption();
            option.setAlignment(alignmentOf(item.justify));
            shown->document()->setDefaultTextOption(option);
        }
    } else if (type != kADMPopupMenuType) {
        auto* label = static_cast<QLabel*>(widget);
        label->setFont(fontOf(item.font, dialogFont()));
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
    // The items' extent: a modal dialog ends as far below its last item as its first lies from the left.
    int itemsBottom = 0, itemsLeft = bounds.width();
    for (ADMItemRef ref : dialog->items) {
        const Item* item = host_.dialogs().item(ref);
        if (!item) continue;
        if (item->id == kADMMenuItemID) hasMenu = true;
        if (item->visible && item->rect.bottom > item->rect.top) {
            itemsBottom = std::max(itemsBottom, static_cast<int>(item->rect.bottom));
            itemsLeft = std::min(itemsLeft, std::max(0, static_cast<int>(item->rect.left)));
        }
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
    orderTabs();
    // Wide enough for the whole title beside the window manager's buttons.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    int titleWidth = QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleAllowance;
    int height = bounds.height();
    if (dialog->modal && itemsBottom > 0) height = std::min(height, itemsBottom + itemsLeft);
    setFixedSize(std::max({bounds.width() + (hasMenu ? kMenuButtonSize : 0), titleWidth, 1}), std::max(height, 1));
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
    record("panel close", "", "closing the window");
    act_([&] { host.closeDialog(ref); });
}

void DialogWindow::reject() {
    // Escape and the close box: the model decides whether the window goes.
    const host::DialogManager::Dialog* dialog = model();
    if (dialog && dialog->modal && onDismiss) onDismiss();
}

}  // namespace workbench
