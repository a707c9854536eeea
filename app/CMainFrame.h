#pragma once

#include <QMainWindow>

namespace tessaform {

class CTessaformDoc;
class CTessaformView;

// The one main window: it fills the screen, cannot be moved or resized by the
// player, and shows "Tessaform - " and the document's title in its caption.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CTessaformDoc& document);

    CTessaformView& View() { return *view_; }
    void ShowFillingScreen();

protected:
    bool event(QEvent* event) override;

private:
    void UpdateCaption();

    CTessaformDoc& document_;
    CTessaformView* view_;
    bool sizeLocked_ = false;
};

}  // namespace tessaform
