// Window timers aimed at the clock's seconds, the calendar clock, and modal boxes, over Qt.
#include "QtPorts.h"

#include <QMessageBox>
#include <algorithm>
#include <ctime>

namespace tessaform {

using namespace std::chrono_literals;

using Steady = std::chrono::steady_clock;

Steady::time_point ClockTimerDue(std::chrono::system_clock::time_point timeOfDay,
                                 Steady::time_point now, std::chrono::milliseconds interval,
                                 std::optional<Steady::time_point> due) {
    // A little past the change, so that the tick surely reads the new second.
    constexpr std::chrono::milliseconds kPastTheChange{2};
    const auto intoSecond = timeOfDay - std::chrono::floor<std::chrono::seconds>(timeOfDay);
    const auto next =
        now + std::chrono::ceil<std::chrono::milliseconds>(1s - intoSecond) + kPastTheChange;
    return due ? std::min({*due, next, now + interval}) : next;
}

bool QtTimers::SetTimer(int id, unsigned intervalMs) {
    KillTimer(id);
    const std::chrono::milliseconds interval(intervalMs);
    const int qtId = owner_->startTimer(interval, Qt::PreciseTimer);
    if (qtId == 0) {
        return false;
    }
    timers_[id] = {qtId, interval, Steady::now() + interval};
    return true;
}

void QtTimers::KillTimer(int id) {
    if (auto found = timers_.find(id); found != timers_.end()) {
        owner_->killTimer(found->second.qtId);
        timers_.erase(found);
    }
}

int QtTimers::Expired(int qtTimerId) const {
    for (const auto& [id, timer] : timers_) {
        if (timer.qtId == qtTimerId) {
            return id;
        }
    }
    return 0;
}

void QtTimers::AimClock(int expiredId) {
    const auto clock = timers_.find(clockId_);
    if (clock == timers_.end()) {
        return;
    }
    Timer& timer = clock->second;
    const bool expired = expiredId == clockId_;
    const auto now = Steady::now();
    const auto due = ClockTimerDue(std::chrono::system_clock::now(), now, timer.interval,
                                   expired ? std::nullopt : std::optional(timer.due));
    if (!expired && due == timer.due) {
        return;
    }
    // Should Qt refuse the new aim, the old one goes on ticking.
    const int qtId = owner_->startTimer(std::chrono::ceil<std::chrono::milliseconds>(due - now),
                                        Qt::PreciseTimer);
    if (qtId != 0) {
        owner_->killTimer(timer.qtId);
        timer = {qtId, timer.interval, due};
    }
}

CalendarTime SystemClock::Now() {
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    return static_cast<CalendarTime>(now.time_since_epoch().count());
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
