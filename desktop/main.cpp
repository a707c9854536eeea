// Starts the game, or answers the command line, and says so plainly when there is no display.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CTessaformApp.h"

namespace {

constexpr const char* kNeedsDesktop = "it needs a graphical desktop session (X11 or Wayland)";

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Qt finds out only by trying whether it can open a display, and aborts when it
// cannot; so look first at what it would go by. A platform named outright, such
// as offscreen, may need no display at all, and is left to Qt.
bool DisplayOrPlatformNamed(int argc, char** argv) {
    if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("WAYLAND_SOCKET") ||
        IsSet("QT_QPA_PLATFORM")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        // Qt takes its own options with one dash or two.
        const char* option = argv[i] + (std::strncmp(argv[i], "--", 2) == 0 ? 1 : 0);
        if (std::strcmp(option, "-platform") == 0 || std::strcmp(option, "-display") == 0) {
            return true;
        }
    }
    return false;
}

// What went wrong with the command line, then the usage; status 1.
int Refuse(const QCommandLineParser& parser) {
    const QString why = parser.errorText().isEmpty() ? "takes no file or other argument: " +
                                                           parser.positionalArguments().join(' ')
                                                     : parser.errorText();
    std::fprintf(stderr, "tessaform: %s\n\n%s", qPrintable(why), qPrintable(parser.helpText()));
    return 1;
}

QtMessageHandler qtMessages = nullptr;

// Qt's only fatal error while it starts is a display or platform it cannot open, and
// its abort would read as a crash to the player and to a crash reporter.
void ExitOnFailedStart(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
        qtMessages(type, context, text);
        return;
    }
    std::fprintf(stderr, "tessaform: could not open the display; %s\n", kNeedsDesktop);
    std::_Exit(1);
}

}  // namespace

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
    const bool parsed = parser.parse(arguments);
    if (parsed && (parser.isSet(help) || parser.isSet(version))) {
        QCoreApplication core(argc, argv);
        parser.process(core);
    }

    if (!DisplayOrPlatformNamed(argc, argv)) {
        // Without a platform Qt cannot take out its own options, so the game
        // refuses whatever it does not know itself.
        if (!parsed || !parser.positionalArguments().isEmpty()) {
            QCoreApplication core(argc, argv);
            return Refuse(parser);
        }
        std::fprintf(stderr,
                     "tessaform: found no display (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                     "%s\n",
                     kNeedsDesktop);
        return 1;
    }

    // On X11, Qt waits for the server before it paints again over pixels it last sent
    // through shared memory: a round trip at every second the clock shows. Over the socket
    // it needs none, and what the game redraws at once is small.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    qtMessages = qInstallMessageHandler(ExitOnFailedStart);
    QApplication qtApp(argc, argv);
    qInstallMessageHandler(qtMessages);
    if (!parser.parse(QApplication::arguments()) || !parser.positionalArguments().isEmpty()) {
        return Refuse(parser);
    }
    parser.process(qtApp);  // --help-all, which lists Qt's options too
    tessaform::CTessaformApp app;
    if (!app.InitInstance()) {
        return 0;
    }
    return qtApp.exec();
}
