#include "CMainFrame.h"

#include <QEvent>
#include <QScreen>

#include "CTessaformDoc.h"
#include "CTessaformView.h"

namespace tessaform {

CMainFrame::CMainFrame(CTessaformDoc& document)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      document_(document) {
    view_ = new CTessaformView(this, [this](const std::string& title) {
        document_.SetTitle(QString::fromStdString(title));
    });
    setCentralWidget(view_);
    connect(&document_, &CTessaformDoc::TitleChanged, this, &CMainFrame::UpdateCaption);
    UpdateCaption();
}

void CMainFrame::UpdateCaption() {
    setWindowTitle("Tessaform - " + document_.Title());
}

void CMainFrame::ShowFillingScreen() {
    // Where no window manager maximises the window, the geometry alone fills the screen.
    setGeometry(screen()->availableGeometry());
    showMaximized();
}

bool CMainFrame::event(QEvent* event) {
    // Once on screen at its full size, the window keeps that size.
    if (event->type() == QEvent::Expose && !sizeLocked_ && isVisible()) {
        sizeLocked_ = true;
        setFixedSize(size());
    }
    return QMainWindow::event(event);
}

}  // namespace tessaform
