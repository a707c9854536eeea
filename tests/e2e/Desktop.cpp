#include "Desktop.h"

#include <sys/prctl.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <filesystem>

#include "Checks.h"

namespace tessaform::e2e {

namespace {

constexpr int kToolTimeoutMs = 20'000;
constexpr int kStopTimeoutMs = 5'000;
constexpr int kBytesPerFrame = 4;

QProcessEnvironment BaseEnvironment(const QString& display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    // Nothing from the developer's own desktop may leak into the private one.
    for (const char* name : {"WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
                             "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_ENABLE_HIGHDPI_SCALING",
                             "XAUTHORITY", "SDL_DISKAUDIODELAY"}) {
        env.remove(name);
    }
    return env;
}

void Terminate(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(kStopTimeoutMs)) {
        process.kill();
        process.waitForFinished(kStopTimeoutMs);
    }
}

}  // namespace

bool WaitUntil(double seconds, const std::function<bool()>& ready) {
    QElapsedTimer timer;
    timer.start();
    while (true) {
        if (ready()) {
            return true;
        }
        if (timer.elapsed() > static_cast<qint64>(seconds * 1000)) {
            return false;
        }
        QThread::msleep(40);
    }
}

Desktop::Desktop(int width, int height, const QString& workDir)
    : width_(width), height_(height), workDir_(workDir) {
    clock_.start();
    QDir().mkpath(workDir_);
    // Xvfb picks a free display itself and tells its number on the pipe.
    server_ = Launch("Xvfb",
                     {"-displayfd", "1", "-screen", "0", QString("%1x%2x24").arg(width).arg(height),
                      "-nolisten", "tcp"},
                     QProcessEnvironment::systemEnvironment(), {});
    QByteArray number;
    while (!number.contains('\n')) {
        if (!server_->waitForReadyRead(kToolTimeoutMs)) {
            throw Abort("Xvfb did not tell its display number");
        }
        number += server_->readAllStandardOutput();
    }
    display_ = ":" + QString::fromLatin1(number.trimmed());
    windowManager_ = Launch("openbox", {"--sm-disable"}, BaseEnvironment(display_), "openbox.log");
    WaitForWindowManager();
}

Desktop::Desktop(const QString& display) : width_(0), height_(0), display_(display) {
    clock_.start();
}

Desktop::~Desktop() {
    for (auto* process : {game_.get(), windowManager_.get(), server_.get()}) {
        if (process != nullptr) {
            Terminate(*process);
        }
    }
}

std::unique_ptr<QProcess> Desktop::Launch(const QString& program, const QStringList& args,
                                          const QProcessEnvironment& env, const QString& logName) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    // A suite killed by its time limit must not leave a display server behind.
    process->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    if (!logName.isEmpty()) {
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->setStandardOutputFile(workDir_ + "/" + logName);
    } else {
        process->setStandardErrorFile(QProcess::nullDevice());
    }
    process->start(program, args);
    if (!process->waitForStarted(kToolTimeoutMs)) {
        throw Abort("cannot start " + program.toStdString() + ": is it installed?");
    }
    return process;
}

void Desktop::WaitForWindowManager() {
    // openbox announces itself on the root window once it manages the screen.
    const bool up = WaitUntil(15, [&] {
        return RunTool("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
    });
    if (!up) {
        throw Abort("openbox did not start on " + display_.toStdString());
    }
}

QByteArray Desktop::RunTool(const QString& program, const QStringList& args) {
    QProcess tool;
    tool.setProcessEnvironment(BaseEnvironment(display_));
    tool.start(program, args);
    if (!tool.waitForFinished(kToolTimeoutMs)) {
        Terminate(tool);
        throw Abort(program.toStdString() + " did not finish");
    }
    return tool.readAllStandardOutput();
}

void Desktop::StartGame(const QString& executable) {
    QFile::remove(RecordingPath());
    const QString runtime = workDir_ + "/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = BaseEnvironment(display_);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_RUNTIME_DIR", runtime);
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILE", RecordingPath());
    game_ = Launch(executable, {}, env, "game.log");
}

bool Desktop::GameRunning() const {
    return game_ != nullptr && game_->state() == QProcess::Running;
}

void Desktop::StopGame() {
    if (game_ != nullptr) {
        Terminate(*game_);
    }
}

qint64 Desktop::RecordedFrames() const {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(RecordingPath().toStdString(), error);
    return error ? 0 : static_cast<qint64>(bytes) / kBytesPerFrame;
}

Shot Desktop::Capture() {
    Shot shot;
    shot.framesBefore = RecordedFrames();
    shot.seconds = Seconds();
    const QByteArray data = RunTool("import", {"-window", "root", "-depth", "8", "ppm:-"});
    shot.framesAfter = RecordedFrames();
    shot.image = QImage::fromData(data, "PPM").convertToFormat(QImage::Format_RGB32);
    if (width_ == 0 && !shot.image.isNull()) {
        width_ = shot.image.width();
        height_ = shot.image.height();
    }
    if (shot.image.width() != width_ || shot.image.height() != height_) {
        throw Abort("import gave no screenshot of " + std::to_string(width_) + "x" +
                    std::to_string(height_));
    }
    return shot;
}

Shot Desktop::Await(const std::string& what, double seconds,
                    const std::function<bool(const Shot&)>& done, double pause) {
    const double until = Seconds() + seconds;
    while (true) {
        Shot shot = Capture();
        if (done(shot)) {
            return shot;
        }
        if (game_ != nullptr && !GameRunning()) {
            throw Abort("the game quit while waiting for " + what);
        }
        if (Seconds() > until) {
            std::string saved;
            if (!workDir_.isEmpty()) {
                shot.image.save(workDir_ + "/waited-in-vain.png", "PNG");
                saved = "; the last screen is waited-in-vain.png";
            }
            std::string message = "waited " + std::to_string(static_cast<int>(seconds));
            message += " s in vain for ";
            message += what;
            message += saved;
            throw Abort(message);
        }
        QThread::msleep(static_cast<unsigned long>(std::max(pause, 0.04) * 1000));
    }
}

void Desktop::Click(QPoint at) {
    RunTool("xdotool", {"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()),
                        "click", "1"});
}

}  // namespace tessaform::e2e
