// Starts the game, or answers --help and --version without a window system.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "CTessaformApp.h"

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("tessaform");
    QCoreApplication::setApplicationVersion(TESSAFORM_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A timed puzzle: make eleven blocks of shapes match the master block.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    // --help and --version are answered before the display is opened, so they need
    // none; the QCoreApplication only lends the usage line the program's name.
    // Arguments that do not parse yet may be Qt's own, which QApplication takes out.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    if (parser.parse(arguments) && (parser.isSet(help) || parser.isSet(version))) {
        QCoreApplication core(argc, argv);
        parser.process(core);
    }

    // On X11, Qt waits for the server before it paints again over pixels it last sent
    // through shared memory: a round trip at every second the clock shows. Over the socket
    // it needs none, and what the game redraws at once is small.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    QApplication qtApp(argc, argv);
    parser.process(qtApp);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "tessaform: takes no file or other argument: %s\n",
                     qPrintable(parser.positionalArguments().join(' ')));
        return 1;
    }
    tessaform::CTessaformApp app;
    if (!app.InitInstance()) {
        return 0;
    }
    return qtApp.exec();
}
