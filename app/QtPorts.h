#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>

#include "ClockTicker.h"
#include "Ports.h"

namespace tessaform {

// Window timers on the view: each expiry arrives as a timer event in the same
// queue as the presses and repaints. Setting an id that is already set restarts it.
// The clock's timer, `tickedId`, is counted by a ClockTicker reading `clock`.
class QtTimers : public TimerPort {
public:
    QtTimers(QObject* owner, ClockPort& clock, int tickedId)
        : owner_(owner), tickedId_(tickedId), ticker_(owner, clock) {}
    bool SetTimer(int id, unsigned intervalMs) override;
    void KillTimer(int id) override;
    // The game's id for a timer event's id as it is delivered, or 0 when it is not one
    // of ours (or from a timer since killed).
    int Expired(int qtTimerId);
    void SetRepeatingReading(std::optional<CalendarTime> reading) {
        ticker_.SetRepeatingReading(reading);
    }

private:
    QObject* owner_;
    int tickedId_;
    // The ticker's events carry ids below zero, which Qt never gives; a new one at each
    // start, so that an event left in the queue by a killed timer is not taken for it.
    int tickerEventId_ = 0;
    ClockTicker ticker_;
    std::map<int, int> timers_;  // game id -> timer event id
};

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
