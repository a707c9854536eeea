#include "QtPorts.h"

#include <QMessageBox>
#include <ctime>

namespace tessaform {

bool QtTimers::SetTimer(int id, unsigned intervalMs) {
    KillTimer(id);
    const int qtId = owner_->startTimer(static_cast<int>(intervalMs), Qt::PreciseTimer);
    if (qtId == 0) {
        return false;
    }
    timers_[id] = qtId;
    return true;
}

void QtTimers::KillTimer(int id) {
    if (auto found = timers_.find(id); found != timers_.end()) {
        owner_->killTimer(found->second);
        timers_.erase(found);
    }
}

int QtTimers::GameIdOf(int qtTimerId) const {
    for (const auto& [id, qtId] : timers_) {
        if (qtId == qtTimerId) {
            return id;
        }
    }
    return 0;
}

CalendarTime SystemClock::Now() {
    return static_cast<CalendarTime>(std::time(nullptr));
}

std::string SystemClock::FormatLocal(CalendarTime time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%c", &local);
    return std::string(text, length);
}

void QtMessageBoxes::ShowMessage(const std::string& text, const std::string& caption, MessageIcon) {
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, owner_);
    box.exec();
}

}  // namespace tessaform
