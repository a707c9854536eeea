#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <map>

#include "Ports.h"

namespace tessaform {

// Window timers on the view: each expiry arrives as a timer event in the same
// queue as the presses and repaints. Setting an id that is already set restarts it.
class QtTimers : public TimerPort {
public:
    explicit QtTimers(QObject* owner) : owner_(owner) {}
    bool SetTimer(int id, unsigned intervalMs) override;
    void KillTimer(int id) override;
    // The game's id for a Qt timer id, or 0 when it is not one of ours.
    int GameIdOf(int qtTimerId) const;

private:
    QObject* owner_;
    std::map<int, int> timers_;  // game id -> Qt timer id
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
