// A window that does nothing but take a 50 ms timer on Qt's event loop: what the game's
// clock would cost there, for bench/measure.py to set beside the game left alone.
#include <QApplication>
#include <QWidget>

namespace {

class Ticking : public QWidget {
protected:
    void timerEvent(QTimerEvent*) override { update(QRect()); }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Ticking window;
    window.showMaximized();
    window.startTimer(50);
    return app.exec();
}
