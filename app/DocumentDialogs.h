// The workbench's own questions about the document: the page of a new drawing,
// and an exact offset to move the selection by. Numbers show the decimal comma
// of the tool's labels, and either separator may be typed.
#pragma once

#include <optional>

#include <QDialog>

#include "host/Host.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace workbench {

/// A number typed by a person: a decimal point or comma, blanks around it, and the unit written after it
/// or not. None for anything else, or a number that is not finite.
std::optional<double> typedNumber(QString text, const QString& unit);
/// A number as the workbench shows it, with the decimal comma.
QString shownNumber(double value, int decimals);

/// A sheet a new drawing may have, in millimetres on paper.
struct PaperSize {
    const char* name;
    double width;
    double height;
};
inline constexpr PaperSize kPaperSizes[] = {{"A4", 210, 297}, {"A3", 297, 420}, {"Letter", 215.9, 279.4}};

/// File › New's question: the page's size, from the common sheets or typed.
class PageSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageSizeDialog(QWidget* parent = nullptr);

    /// The page in artwork points, its top-left corner at the origin; none while a size is not a positive number.
    std::optional<host::PageBox> page() const;

    QComboBox* sizes() const { return sizes_; }
    QLineEdit* widthField() const { return width_; }
    QLineEdit* heightField() const { return height_; }
    void accept() override;

private:
    void sizeChosen(int index);

    QComboBox* sizes_;
    QLineEdit* width_;
    QLineEdit* height_;
    QLabel* problem_;
};

/// Object › Move…'s question: how far to move the selection, in millimetres at the drawing scale, to the
/// right and down the page, as the status bar counts.
class MoveDialog : public QDialog {
    Q_OBJECT
public:
    /// millimetresPerPoint: millimetres on the drawing per artwork point.
    MoveDialog(double millimetresPerPoint, QWidget* parent = nullptr);

    /// The offset in artwork points (v up); none while a field holds no number.
    std::optional<AIRealPoint> offset() const;

    QLineEdit* horizontalField() const { return horizontal_; }
    QLineEdit* verticalField() const { return vertical_; }
    void accept() override;

private:
    double millimetresPerPoint_;
    QLineEdit* horizontal_;
    QLineEdit* vertical_;
    QLabel* problem_;
};

}  // namespace workbench
