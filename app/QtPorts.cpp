#include "QtPorts.h"

#include <QMessageBox>
#include <ctime>
#include <system_error>

namespace tessaform {

bool QtTimers::SetTimer(int id, unsigned intervalMs) {
    KillTimer(id);
    if (id == tickedId_) {
        try {
            ticker_.Start(--tickerEventId_, std::chrono::milliseconds(intervalMs));
        } catch (const std::system_error&) {
            return false;  // no thread to be had
        }
        timers_[id] = tickerEventId_;
        return true;
    }
    const int qtId = owner_->startTimer(static_cast<int>(intervalMs), Qt::PreciseTimer);
    if (qtId == 0) {
        return false;
    }
    timers_[id] = qtId;
    return true;
}

void QtTimers::KillTimer(int id) {
    if (auto found = timers_.find(id); found != timers_.end()) {
        if (found->second < 0) {
            ticker_.Stop();
        } else {
            owner_->killTimer(found->second);
        }
        timers_.erase(found);
    }
}

int QtTimers::Expired(int qtTimerId) {
    for (const auto& [id, eventId] : timers_) {
        if (eventId == qtTimerId) {
            if (eventId < 0) {
                ticker_.Taken();
            }
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
