#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace tessaform::e2e {

// One capture of the whole screen. The recording's length just before and just
// after the capture tells where in the sound the picture belongs.
struct Shot {
    QImage image;
    double seconds = 0;  // since the desktop came up
    qint64 framesBefore = 0;
    qint64 framesAfter = 0;
};

// A private X display (Xvfb) with a window manager (openbox), the game running
// on it with SDL's disk audio driver, and the only two ways the suite touches
// it: screenshots with `import -window root` and clicks with `xdotool`.
class Desktop {
public:
    Desktop(int width, int height, const QString& workDir);
    // A display that is already up, with a game on it started by someone else.
    explicit Desktop(const QString& display);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    void StartGame(const QString& executable);
    bool GameRunning() const;
    void StopGame();

    Shot Capture();
    void Click(QPoint at);
    // Captures until `done` accepts a screenshot, which it returns; after `seconds` in vain,
    // or when the game has quit, throws Abort. `pause` spaces out the captures of long waits.
    Shot Await(const std::string& what, double seconds,
               const std::function<bool(const Shot&)>& done, double pause = 0);

    // Stereo frames of 16 bits at 22,050 Hz that SDL has written so far.
    qint64 RecordedFrames() const;
    double Seconds() const { return clock_.elapsed() / 1000.0; }
    QString RecordingPath() const { return workDir_ + "/recording.raw"; }
    QString DisplayName() const { return display_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    QByteArray RunTool(const QString& program, const QStringList& args);
    std::unique_ptr<QProcess> Launch(const QString& program, const QStringList& args,
                                     const QProcessEnvironment& env, const QString& logName);
    void WaitForWindowManager();

    int width_;
    int height_;
    QString workDir_;
    QString display_;
    QElapsedTimer clock_;
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> windowManager_;
    std::unique_ptr<QProcess> game_;
};

// Asks `ready` again and again until it says yes or `seconds` have passed;
// returns whether it said yes. The pause between tries is short and fixed.
bool WaitUntil(double seconds, const std::function<bool()>& ready);

}  // namespace tessaform::e2e
