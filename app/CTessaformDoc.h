#pragma once

#include <QObject>
#include <QString>

namespace tessaform {

// The document holds nothing and is never modified; only its title is used,
// which the view sets at every repaint.
class CTessaformDoc : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kDefaultTitle = "Untitled";

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title);

signals:
    void TitleChanged(const QString& title);

private:
    QString title_ = kDefaultTitle;
};

}  // namespace tessaform
