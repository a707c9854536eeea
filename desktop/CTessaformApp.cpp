// Starts the application: the document, the main window over the screen, and the about box.
#include "CTessaformApp.h"

#include <QApplication>

#include "AppIcon.h"
#include "CAboutDlg.h"
#include "CMainFrame.h"
#include "CTessaformDoc.h"

namespace tessaform {

CTessaformApp::CTessaformApp(SoundPort* sound) : sound_(sound) {}

CTessaformApp::~CTessaformApp() = default;

bool CTessaformApp::InitInstance() {
    // Where settings would live; the game stores none.
    QCoreApplication::setOrganizationName("Local AppWizard-Generated Applications");
    QCoreApplication::setApplicationName("Tessaform");
    // A shell finds the window's desktop entry, its name and icon, by this id.
    QGuiApplication::setDesktopFileName("org.example.Tessaform");
    QApplication::setWindowIcon(AppIcon());

    document_ = std::make_unique<CTessaformDoc>();
    if (!document_->OnNewDocument()) {
        return false;
    }
    frame_ = std::make_unique<CMainFrame>(*document_, sound_);
    connect(frame_.get(), &CMainFrame::AboutRequested, this, &CTessaformApp::OnAppAbout);

    frame_->ShowFillingScreen();
    return true;
}

void CTessaformApp::OnAppAbout() {
    CAboutDlg about(frame_.get());
    about.exec();
    frame_->TakeBackKeyboard();
}

}  // namespace tessaform
