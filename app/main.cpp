#include <QApplication>

#include "CTessaformApp.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    tessaform::CTessaformApp app;
    if (!app.InitInstance()) {
        return 0;
    }
    return qtApp.exec();
}
