// The application object: it makes the document and the main window and runs the about box.
#pragma once

#include <QObject>
#include <memory>

namespace tessaform {

class CMainFrame;
class CTessaformDoc;
class SoundPort;

// The application: it makes the one document, the main window and the view,
// shows the window over the whole screen, and runs the about box. Qt's
// QApplication, made before it, takes Qt's own command-line options; the game
// adds none and opens no file named there.
class CTessaformApp : public QObject {
    Q_OBJECT

public:
    // Without a sound port the view plays over SDL.
    explicit CTessaformApp(SoundPort* sound = nullptr);
    ~CTessaformApp() override;

    // False when the program cannot start; it then ends without a word of its own.
    bool InitInstance();
    void OnAppAbout();

    CTessaformDoc* Document() const { return document_.get(); }
    CMainFrame* MainFrame() const { return frame_.get(); }

private:
    SoundPort* sound_;
    std::unique_ptr<CTessaformDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace tessaform
