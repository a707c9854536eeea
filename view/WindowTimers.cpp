// Window timers aimed at the clock's seconds, over whatever timers a front end has.
#include "WindowTimers.h"

#include <algorithm>

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

bool WindowTimers::SetTimer(int id, unsigned intervalMs) {
    KillTimer(id);
    const std::chrono::milliseconds interval(intervalMs);
    const int handle = Start(interval);
    if (handle == 0) {
        return false;
    }
    timers_[id] = {handle, interval, Steady::now() + interval};
    return true;
}

void WindowTimers::KillTimer(int id) {
    if (auto found = timers_.find(id); found != timers_.end()) {
        Stop(found->second.handle);
        timers_.erase(found);
    }
}

int WindowTimers::Expired(int handle) const {
    for (const auto& [id, timer] : timers_) {
        if (timer.handle == handle) {
            return id;
        }
    }
    return 0;
}

void WindowTimers::AimClock(int expiredId) {
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
    // Should the front end refuse the new aim, the old one goes on ticking.
    const int handle = Start(std::chrono::ceil<std::chrono::milliseconds>(due - now));
    if (handle != 0) {
        Stop(timer.handle);
        timer = {handle, timer.interval, due};
    }
}

}  // namespace tessaform
