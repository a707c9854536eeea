#include "AppFixture.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace tessaform::testing {

namespace {

// Qt's file dialog remembers where it was; that goes to a scratch directory,
// not the home of whoever runs the tests.
void KeepSettingsOutOfHome() {
    static QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
}

}  // namespace

RunningApp::RunningApp() : app(std::make_unique<CTessaformApp>(&sound)) {
    KeepSettingsOutOfHome();
    // Closing the window would otherwise stop every event loop still to come.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!app->InitInstance()) {
        ADD_FAILURE() << "the program did not start";
        return;
    }
    QObject::connect(&Doc(), &CTessaformDoc::TitleChanged,
                     [this](const QString& title) { titles.push_back(title); });
    if (!WaitFor([this] { return State().boardInitialized == 1; })) {
        ADD_FAILURE() << "no first repaint";
    }
    titles.clear();
    Frame().activateWindow();
    if (!QTest::qWaitForWindowActive(&Frame())) {
        ADD_FAILURE() << "the window did not become active";
    }
}

RunningApp::~RunningApp() {
    if (app && app->MainFrame()) {
        Frame().close();
    }
    app.reset();
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

void WhenModalOpens(std::function<void(QWidget&)> act) {
    auto* timer = new QTimer;
    // Generous: a loaded machine may take seconds to open a file dialog, and one
    // left open would block the test for good.
    const QDeadlineTimer deadline(60000);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act), deadline] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && !deadline.hasExpired()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (modal != nullptr) {
            act(*modal);
        } else {
            ADD_FAILURE() << "no dialog opened";
        }
    });
    timer->start(10);
}

struct ModalWatcher::Poll {
    QTimer timer;
};

ModalWatcher::ModalWatcher() : poll_(std::make_unique<Poll>()) {
    QObject::connect(&poll_->timer, &QTimer::timeout, [this] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened.emplace_back(modal->metaObject()->className());
            modal->close();
        }
    });
    poll_->timer.start(10);
}

ModalWatcher::~ModalWatcher() = default;

GameSnapshot::GameSnapshot(const GameState& s)
    : arrangement(s.blockArrangement),
      status(s.blockStatus),
      clicks(s.blockClicks),
      gameStartTime(s.gameStartTime),
      clockRunning(s.clockRunning),
      boardInitialized(s.boardInitialized),
      gameIndex(s.gameIndex),
      gameOver(s.gameOver),
      matchScore(s.matchScore),
      clickCost(s.clickCost),
      setScores(s.setScores) {}

QString PdfText(const QString& path) {
    QProcess process;
    process.start("pdftotext", {path, "-"});
    if (!process.waitForFinished(20000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace tessaform::testing
