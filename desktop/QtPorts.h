// The Qt side of the view's ports: window timers, the calendar clock and message boxes.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
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

// Window timers on the view: each expiry arrives as a timer event in the same queue as
// the presses and repaints. Setting an id that is already set restarts it.
class QtTimers : public TimerPort {
public:
    QtTimers(QObject* owner, int clockId) : owner_(owner), clockId_(clockId) {}
    bool SetTimer(int id, unsigned intervalMs) override;
    void KillTimer(int id) override;
    // The game's id for a timer event's id, or 0 when it is not one of ours.
    int Expired(int qtTimerId) const;
    // Before each handler, with the game's id of the timer it handles (0 for none): the
    // clock's timer, when set, is aimed by ClockTimerDue, so a game left alone wakes the
    // program once a second.
    void AimClock(int expiredId);

private:
    struct Timer {
        int qtId;
        std::chrono::milliseconds interval;
        std::chrono::steady_clock::time_point due;
    };
    QObject* owner_;
    int clockId_;
    std::map<int, Timer> timers_;  // by the game's id
};

// Whole seconds of the time of day, the clock the timer is aimed by.
class SystemClock : public ClockPort {
public:
    CalendarTime Now() override;
    std::string FormatLocal(CalendarTime time) override;
};

// Modal boxes owned by the main window; their loop goes on delivering timer events.
class QtMessageBoxes : public MessageBoxPort {
public:
    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}
    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace tessaform
