#include "ClockTicker.h"

#include <QCoreApplication>
#include <QTimerEvent>

namespace tessaform {

void ClockTicker::Start(int timerId, std::chrono::milliseconds interval) {
    Stop();
    stop_ = false;
    queued_ = false;
    thread_ = std::thread(&ClockTicker::Run, this, timerId, interval);
}

void ClockTicker::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void ClockTicker::Run(int timerId, std::chrono::milliseconds interval) {
    using Clock = std::chrono::steady_clock;
    auto next = Clock::now() + interval;
    std::unique_lock lock(mutex_);
    while (!wake_.wait_until(lock, next, [this] { return stop_; })) {
        next += interval;
        if (const auto now = Clock::now(); next < now) {
            next = now + interval;
        }
        if (clock_.Now() != repeating_ && !queued_.exchange(true)) {
            QCoreApplication::postEvent(target_, new QTimerEvent(timerId));
        }
    }
}

}  // namespace tessaform
