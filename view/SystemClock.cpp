// The time of day and its local "%c" form, from the standard library.
#include "SystemClock.h"

#include <chrono>
#include <ctime>

namespace tessaform {

CalendarTime SystemClock::Now() {
    const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    return static_cast<CalendarTime>(now.time_since_epoch().count());
}

std::string SystemClock::FormatLocal(CalendarTime time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&t, &local);
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, format_, &local);
    return std::string(text, length);
}

}  // namespace tessaform
