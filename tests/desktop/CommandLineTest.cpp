// The real program's command line, started as from a text console or an SSH session:
// no display, or none that opens.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <tuple>
#include <utility>

namespace tessaform::testing {

TEST(CommandLine, WithoutADisplayEachAnswerIsPlainAndNoneAborts) {
    const QString usage = R"(Usage: \S+ \[options\]\n(.*\n)+  -v, --version .*\n)";
    const QString desktop = R"(; it needs a graphical desktop session \(X11 or Wayland\)\n)";
    const QString noDisplay = R"(tessaform: found no display \(.*\))" + desktop;
    const QString unknown = R"(tessaform: Unknown option 'bogus'\.\n\n)" + usage;
    const QString couldNot = "(.*\n)+tessaform: could not open the display" + desktop;
    // The arguments, the one variable set of those naming a display or a platform (an empty
    // QT_QPA_PLATFORM names none, to the game as to Qt), the exit status, and what the whole of
    // the output and of the error stream must be, as patterns.
    const char* none = "QT_QPA_PLATFORM=";
    const std::tuple<QStringList, QString, int, QString, QString> cases[] = {
        {{}, none, 1, "", noDisplay},
        {{"--help-all"}, none, 1, "", noDisplay},  // Qt's options need Qt's platform
        {{"--bogus"}, none, 1, "", unknown},
        {{"stray"}, none, 1, "", "tessaform: takes no file or other argument: stray\n\n" + usage},
        {{"--help"}, none, 0, usage, ""},
        {{"--version"}, none, 0, "tessaform " TESSAFORM_VERSION "\n", ""},
        // A platform named outright is Qt's to open; what the game does not know is still refused.
        {{"--bogus"}, "QT_QPA_PLATFORM=offscreen", 1, "", "(.*\n)*" + unknown},
        {{"-platform", "offscreen", "--bogus"}, none, 1, "", "(.*\n)*" + unknown},
        // Qt's own account of why, then the game's one line instead of an abort. A Wayland
        // session without XWayland names only its compositor: Qt is left to try it.
        {{}, "QT_QPA_PLATFORM=xcb", 1, "", couldNot},
        {{}, "WAYLAND_DISPLAY=tessaform-test-none", 1, "", couldNot},
    };
    for (const auto& [arguments, variable, status, wantedOut, wantedErr] : cases) {
        SCOPED_TRACE(("tessaform " + arguments.join(' ') + " with " + variable).toStdString());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (auto name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"}) {
            env.remove(name);
        }
        env.insert(variable.section('=', 0, 0), variable.section('=', 1));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(TESSAFORM_PROGRAM, arguments);
        ASSERT_TRUE(program.waitForFinished(90000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "no abort, no core";
        EXPECT_EQ(program.exitCode(), status);
        const QString out = program.readAllStandardOutput(), err = program.readAllStandardError();
        for (const auto& [wanted, got] : {std::pair(wantedOut, out), std::pair(wantedErr, err)}) {
            const QRegularExpression whole(QRegularExpression::anchoredPattern(wanted));
            EXPECT_TRUE(whole.match(got).hasMatch()) << got.toStdString();
        }
    }
}

}  // namespace tessaform::testing
