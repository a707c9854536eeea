// The about box built control by control, and dialog units turned into pixels.
#include "CAboutDlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "AppIcon.h"

namespace tessaform {

namespace {

// MulDiv's rounding: to the nearest, halves away from zero.
int ScaleRounded(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

QFont DialogFont() {
    QFont font;
    // The face the dialog was drawn for, or the metric twin of its usual stand-in.
    font.setFamilies({"MS Sans Serif", "Liberation Sans"});
    font.setPointSize(8);
    return font;
}

QLabel* StaticText(QWidget* parent, const char* text, const QRect& where) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(where);
    return label;
}

}  // namespace

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {(alphabet / 26 + 1) / 2, metrics.height()};
}

QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int width, int height) {
    return QRect(ScaleRounded(x, units.x, 4), ScaleRounded(y, units.y, 8),
                 ScaleRounded(width, units.x, 4), ScaleRounded(height, units.y, 8));
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kAboutCaption);
    setFont(DialogFont());
    const DialogBaseUnits units = BaseUnitsOf(font());

    // An icon control takes the size of its icon, whatever room it was given.
    icon_ = new QLabel(this);
    const QPixmap pixmap = IconPixmap(kLargeIconId);
    icon_->setPixmap(pixmap);
    icon_->setAccessibleName("Tessaform");
    icon_->setGeometry(QRect(MapDialogRect(units, 11, 17, 20, 20).topLeft(), pixmap.size()));

    version_ = StaticText(this, kAboutVersion, MapDialogRect(units, 40, 10, 119, 8));
    notice_ = StaticText(this, kAboutNotice, MapDialogRect(units, 40, 25, 119, 8));

    ok_ = new QPushButton("OK", this);
    ok_->setGeometry(MapDialogRect(units, 178, 7, 32, 14));
    ok_->setDefault(true);
    ok_->setFocus();
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(MapDialogRect(units, 0, 0, 217, 55).size());
}

}  // namespace tessaform
