// The document, which holds nothing but the title the caption shows.
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

    // Starts over empty, with the default title. Nothing can fail.
    bool OnNewDocument();
    // A file the player opened. Nothing is read from it; it only names the document.
    void SetPathName(const QString& path);

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title);

signals:
    void TitleChanged(const QString& title);

private:
    QString title_ = kDefaultTitle;
};

}  // namespace tessaform
