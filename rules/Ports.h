// The timers, clock, sounds and message boxes through which the game reaches the outside world.
#pragma once

#include <chrono>
#include <string>

#include "GameState.h"

namespace tessaform {

// The outside world as the game's handlers see it. The desktop build implements
// these with Qt and SDL; tests implement them with fakes that record every call.

class TimerPort {
public:
    virtual ~TimerPort() = default;
    // False when the system refuses the timer.
    virtual bool SetTimer(int id, unsigned intervalMs) = 0;
    virtual void KillTimer(int id) = 0;
    // Holds the game for a while, as a frame of the dissolve does; what happens meanwhile
    // waits in the queue.
    virtual void Wait(std::chrono::milliseconds time) = 0;
};

class ClockPort {
public:
    virtual ~ClockPort() = default;
    virtual CalendarTime Now() = 0;
    // The date and time in the local "%c" form.
    virtual std::string FormatLocal(CalendarTime time) = 0;
};

// Shown once a run, by the first sound that fails and that the game does not wait for.
inline constexpr const char* kSoundWarning =
    "Cannot play sound.\nThis game works much better with a sound card.";

class SoundPort {
public:
    virtual ~SoundPort() = default;
    // Returns when the sound has played to its end, or at once when it cannot play.
    virtual void PlaySoundSync(int id) = 0;
    // Returns as soon as the sound has started; a new sound replaces one still playing.
    virtual void PlaySoundAsync(int id) = 0;
};

enum class MessageIcon { kExclamation };

class MessageBoxPort {
public:
    virtual ~MessageBoxPort() = default;
    // Modal: returns when the player has closed the box.
    virtual void ShowMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
};

}  // namespace tessaform
