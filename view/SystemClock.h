// The calendar clock of the machine the game runs on.
#pragma once

#include <string>

#include "Ports.h"

namespace tessaform {

// Whole seconds of the time of day, the clock the timer is aimed by.
class SystemClock : public ClockPort {
public:
    CalendarTime Now() override;
    std::string FormatLocal(CalendarTime time) override;
};

}  // namespace tessaform
