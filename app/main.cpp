#include <QApplication>

#include "CMainFrame.h"
#include "CTessaformDoc.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tessaform");
    tessaform::CTessaformDoc document;
    tessaform::CMainFrame frame(document);
    frame.ShowFillingScreen();
    return app.exec();
}
