// Window timers over a front end's own, with the clock's timer aimed at the seconds it shows.
#pragma once

#include <chrono>
#include <map>
#include <optional>

#include "Ports.h"

namespace tessaform {

// When the clock's timer should next expire, seen at `now` when the time of day reads
// `timeOfDay`: just after the next whole second, the first moment a tick can show something
// new. Unless the timer has just expired, which `due` tells by its absence, an earlier expiry
// `due` stands, and the next comes no later than `interval` on: something else was handled,
// which may have changed what a tick shows.
std::chrono::steady_clock::time_point ClockTimerDue(
    std::chrono::system_clock::time_point timeOfDay, std::chrono::steady_clock::time_point now,
    std::chrono::milliseconds interval, std::optional<std::chrono::steady_clock::time_point> due);

// The game's timers, each a repeating timer of the front end's: every expiry arrives in the
// same queue as the presses and repaints. Setting an id that is already set restarts it.
class WindowTimers : public TimerPort {
public:
    explicit WindowTimers(int clockId) : clockId_(clockId) {}
    bool SetTimer(int id, unsigned intervalMs) override;
    void KillTimer(int id) override;
    // The game's id for a front end timer's handle, or 0 when it is not one of ours.
    int Expired(int handle) const;
    // Before each handler, with the game's id of the timer it handles (0 for none): the
    // clock's timer, when set, is aimed by ClockTimerDue, so a game left alone wakes the
    // program once a second.
    void AimClock(int expiredId);

protected:
    // A timer of the front end's that first expires `first` from now and then every `first`;
    // its handle, never 0, or 0 when refused.
    virtual int Start(std::chrono::milliseconds first) = 0;
    virtual void Stop(int handle) = 0;

private:
    struct Timer {
        int handle;
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point due;
    };
    int clockId_;
    std::map<int, Timer> timers_;  // by the game's id
};

}  // namespace tessaform
