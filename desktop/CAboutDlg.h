// The about box and the dialog units it is laid out in.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>

#include "GameView.h"

class QLabel;
class QPushButton;

namespace tessaform {

// The size of a dialog unit in pixels of a font: a quarter of its average
// character width across, an eighth of its height down.
struct DialogBaseUnits {
    int x = 0;  // average character width
    int y = 0;  // character height
};

DialogBaseUnits BaseUnitsOf(const QFont& font);
// Dialog units to pixels, rounded to the nearest pixel.
QRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int width, int height);

// The about box: icon, version, notice of rights and a default "OK" button,
// laid out in dialog units of its own font. OK, Enter, Escape and the close box end it.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel& IconLabel() const { return *icon_; }
    QLabel& VersionLabel() const { return *version_; }
    QLabel& NoticeLabel() const { return *notice_; }
    QPushButton& OkButton() const { return *ok_; }

private:
    QLabel* icon_;
    QLabel* version_;
    QLabel* notice_;
    QPushButton* ok_;
};

}  // namespace tessaform
