#include "DocumentDialogs.h"

#include <cmath>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace workbench {

namespace {

const QString kMillimetres = QStringLiteral("mm");
/// Decimals of the sizes and offsets shown: a hundredth of a millimetre.
constexpr int kShownDecimals = 2;
constexpr const char* kCustomSize = "Custom";

QLineEdit* numberField(const QString& name) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    return field;
}

QDialogButtonBox* okAndCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

std::optional<double> typedNumber(QString text, const QString& unit) {
    text = text.trimmed();
    if (text.endsWith(unit)) text = text.chopped(unit.size()).trimmed();
    // One separator, whichever: a comma as the labels show, or a point.
    if (text.count(QLatin1Char(',')) == 1 && !text.contains(QLatin1Char('.'))) text.replace(QLatin1Char(','), '.');
    bool read = false;
    const double value = text.toDouble(&read);
    if (!read || !std::isfinite(value)) return std::nullopt;
    return value;
}

QString shownNumber(double value, int decimals) {
    return QString::fromStdString(host::AdmBasic::valueToText(static_cast<float>(value), kADMNoUnits, decimals, false));
}

PageSizeDialog::PageSizeDialog(QWidget* parent)
    : QDialog(parent),
      sizes_(new QComboBox),
      width_(numberField(QStringLiteral("pageWidth"))),
      height_(numberField(QStringLiteral("pageHeight"))),
      problem_(new QLabel) {
    setWindowTitle(QStringLiteral("New Drawing"));
    setObjectName(QStringLiteral("pageSize"));
    sizes_->setObjectName(QStringLiteral("paperSizes"));
    for (const PaperSize& paper : kPaperSizes) sizes_->addItem(QString::fromLatin1(paper.name));
    sizes_->addItem(QString::fromLatin1(kCustomSize));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Page size:"), sizes_);
    form->addRow(QStringLiteral("Width (mm):"), width_);
    form->addRow(QStringLiteral("Height (mm):"), height_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(okAndCancel(this));
    connect(sizes_, &QComboBox::currentIndexChanged, this, &PageSizeDialog::sizeChosen);
    sizeChosen(0);
}

void PageSizeDialog::sizeChosen(int index) {
    const bool custom = index >= static_cast<int>(std::size(kPaperSizes));
    width_->setEnabled(custom);
    height_->setEnabled(custom);
    if (custom) return;
    const PaperSize& paper = kPaperSizes[index];
    width_->setText(shownNumber(paper.width, kShownDecimals));
    height_->setText(shownNumber(paper.height, kShownDecimals));
}

std::optional<host::PageBox> PageSizeDialog::page() const {
    // A chosen sheet by its own numbers, not by their rounded text.
    const int index = sizes_->currentIndex();
    std::optional<double> width, height;
    if (index >= 0 && index < static_cast<int>(std::size(kPaperSizes))) {
        width = kPaperSizes[index].width;
        height = kPaperSizes[index].height;
    } else {
        width = typedNumber(width_->text(), kMillimetres);
        height = typedNumber(height_->text(), kMillimetres);
    }
    if (!width || !height || *width <= 0 || *height <= 0) return std::nullopt;
    return host::PageBox{0, 0, *width / host::AdmBasic::kMillimetresPerPoint,
                         *height / host::AdmBasic::kMillimetresPerPoint};
}

void PageSizeDialog::accept() {
    if (!page()) {
        problem_->setText(QStringLiteral("The width and the height are numbers of millimetres above zero."));
        return;
    }
    QDialog::accept();
}

MoveDialog::MoveDialog(double millimetresPerPoint, QWidget* parent)
    : QDialog(parent),
      millimetresPerPoint_(millimetresPerPoint),
      horizontal_(numberField(QStringLiteral("moveHorizontal"))),
      vertical_(numberField(QStringLiteral("moveVertical"))),
      problem_(new QLabel) {
    setWindowTitle(QStringLiteral("Move"));
    setObjectName(QStringLiteral("move"));
    horizontal_->setText(shownNumber(0, kShownDecimals));
    vertical_->setText(shownNumber(0, kShownDecimals));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Horizontal, to the right (mm):"), horizontal_);
    form->addRow(QStringLiteral("Vertical, down (mm):"), vertical_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Millimetres at the drawing scale")));
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(okAndCancel(this));
    // Typing replaces the offset shown.
    horizontal_->setFocus();
    horizontal_->selectAll();
}

std::optional<AIRealPoint> MoveDialog::offset() const {
    std::optional<double> right = typedNumber(horizontal_->text(), kMillimetres);
    std::optional<double> down = typedNumber(vertical_->text(), kMillimetres);
    if (!right || !down) return std::nullopt;
    const double h = *right / millimetresPerPoint_, v = -*down / millimetresPerPoint_;
    // Beyond what the document's coordinates hold, the move could only fail.
    if (!std::isfinite(static_cast<AIReal>(h)) || !std::isfinite(static_cast<AIReal>(v))) return std::nullopt;
    return AIRealPoint{static_cast<AIReal>(h), static_cast<AIReal>(v)};
}

void MoveDialog::accept() {
    if (!offset()) {
        problem_->setText(QStringLiteral("Each offset is a number of millimetres, such as 10 or -2,5."));
        return;
    }
    QDialog::accept();
}

}  // namespace workbench
