#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

#include "SoundPlayer.h"

namespace {

class QtMessageBox : public tessaform::MessageBoxPort {
public:
    explicit QtMessageBox(QWidget* owner) : owner_(owner) {}
    void ShowMessage(const std::string& text, const std::string& caption,
                     tessaform::MessageIcon) override {
        QMessageBox::warning(owner_, QString::fromStdString(caption), QString::fromStdString(text));
    }

private:
    QWidget* owner_;
};

}  // namespace

// A first window: it deals nothing yet, but plays the deal sound to its end.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Tessaform");
    QtMessageBox messages(&window);
    tessaform::SoundPlayer sound(messages);
    window.showMaximized();
    QTimer::singleShot(0, [&] {
        window.repaint();
        sound.PlaySoundSync(154);
    });
    return app.exec();
}
