// The one main window, which fills the screen and carries the caption, the menus and the printer.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <memory>

class QAction;
class QMenu;
class QMenuBar;

namespace tessaform {

class CaptionBar;
class CTessaformDoc;
class CTessaformView;
class InstructionsPrinter;
class SoundPort;

// The one main window: it fills the screen, cannot be moved or resized by the
// player, and shows "Tessaform - " and the document's title in its caption. It
// draws that caption itself above the menu bar, so that no window manager can
// add buttons to it; the manager is asked for no frame at all.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // Without a sound port the view plays over SDL.
    explicit CMainFrame(CTessaformDoc& document, SoundPort* sound = nullptr);
    ~CMainFrame() override;

    CTessaformView& View() { return *view_; }
    QMenuBar& MenuBar() { return *menuBar_; }
    QString CaptionText() const;
    // Kept for the whole run, so the choices made in the print dialog stay.
    QPrinter& Printer() { return printer_; }

    void ShowFillingScreen();
    // Without a window manager a closed dialog leaves the keyboard with nobody;
    // the window takes it back after each one.
    void TakeBackKeyboard();

    // The menu's and the accelerators' commands.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrint();
    void OnFilePrintPreview();

signals:
    void AboutRequested();

private:
    void CreateMenu();
    void CreateAccelerators();
    void UpdateCaption();
    void PrintTo(QPrinter& printer);
    void FillScreen(const QRect& available);
    void KeepWindowManagerAway();

    CTessaformDoc& document_;
    CTessaformView* view_;
    CaptionBar* caption_;
    QMenuBar* menuBar_;
    QPrinter printer_{QPrinter::HighResolution};
    std::unique_ptr<InstructionsPrinter> printing_;
};

}  // namespace tessaform
