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
    // The arguments, QT_QPA_PLATFORM, the exit status, and what the whole of the
    // output and of the error stream must be, as patterns.
    const std::tuple<QStringList, const char*, int, QString, QString> cases[] = {
        {{}, "", 1, "", noDisplay},
        {{"--help-all"}, "", 1, "", noDisplay},  // Qt's options need Qt's platform
        {{"--bogus"}, "", 1, "", unknown},
        {{"stray"}, "", 1, "", "tessaform: takes no file or other argument: stray\n\n" + usage},
        {{"--help"}, "", 0, usage, ""},
        {{"--version"}, "", 0, "tessaform " TESSAFORM_VERSION "\n", ""},
        // A platform named outright is Qt's to open; what the game does not know is still refused.
        {{"--bogus"}, "offscreen", 1, "", "(.*\n)*" + unknown},
        {{"-platform", "offscreen", "--bogus"}, "", 1, "", "(.*\n)*" + unknown},
        // Qt's own account of why, then the game's one line instead of an abort.
        {{}, "xcb", 1, "", "(.*\n)+tessaform: could not open the display" + desktop},
    };
    for (const auto& [arguments, platform, status, wantedOut, wantedErr] : cases) {
        SCOPED_TRACE(("tessaform " + arguments.join(' ') + " on " + platform).toStdString());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"}) {
            env.remove(name);
        }
        env.insert("QT_QPA_PLATFORM", platform);  // empty, it names none, to the game as to Qt
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
