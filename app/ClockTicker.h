#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>

#include "Ports.h"

namespace tessaform {

// The clock's timer, counted on a thread of its own. An expiry at the clock reading
// the game says would only repeat the last tick is dropped there, so the GUI thread
// sleeps through nineteen ticks in twenty; the others are posted to it as timer
// events, in the queue with the presses and repaints. As with a window timer, one
// still waiting in the queue is not posted again, and a late one is not made up for.
// A plain thread rather than a QTimer on a QThread: a wake-up of Qt's event loop
// costs twice a bare one, and it would come twenty times a second.
class ClockTicker {
public:
    // `clock` is read on the ticker's thread.
    ClockTicker(QObject* target, ClockPort& clock) : target_(target), clock_(clock) {}
    ~ClockTicker() { Stop(); }

    // Posts QTimerEvent(timerId) to the target every interval until stopped.
    void Start(int timerId, std::chrono::milliseconds interval);
    void Stop();
    // The GUI thread has taken the posted event out of the queue.
    void Taken() { queued_ = false; }
    // Expiries while the clock reads `reading` are dropped; none: every one is posted.
    void SetRepeatingReading(std::optional<CalendarTime> reading) {
        repeating_ = reading.value_or(kNone);
    }

private:
    static constexpr CalendarTime kNone = std::numeric_limits<CalendarTime>::min();
    void Run(int timerId, std::chrono::milliseconds interval);

    QObject* target_;
    ClockPort& clock_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::atomic<bool> queued_ = false;
    std::atomic<CalendarTime> repeating_ = kNone;
};

}  // namespace tessaform
