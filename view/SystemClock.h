// The calendar clock of the machine the game runs on.
#pragma once

#include <string>

#include "Ports.h"

namespace tessaform {

// Whole seconds of the time of day, the clock the timer is aimed by, written in the local
// "%c" form unless a front end names another.
class SystemClock : public ClockPort {
public:
    explicit SystemClock(const char* format = "%c") : format_(format) {}
    CalendarTime Now() override;
    std::string FormatLocal(CalendarTime time) override;

private:
    const char* format_;
};

}  // namespace tessaform
