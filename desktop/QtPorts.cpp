// Window timers and modal boxes, over Qt.
#include "QtPorts.h"

#include <QMessageBox>
#include <thread>

namespace tessaform {

int QtTimers::Start(std::chrono::milliseconds first) {
    return owner_->startTimer(first, Qt::PreciseTimer);
}

void QtTimers::Stop(int handle) {
    owner_->killTimer(handle);
}

// Qt's events wait in the queue meanwhile, as they do while a sound plays.
void QtTimers::Wait(std::chrono::milliseconds time) {
    std::this_thread::sleep_for(time);
}

void QtMessageBoxes::ShowMessage(const std::string& text, const std::string& caption, MessageIcon) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, owner_);
    box.exec();
}

}  // namespace tessaform
