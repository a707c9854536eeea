// Writes the seconds left as the strip shows them: minutes and seconds, two digits each.
#include "TimeText.h"

namespace tessaform {

std::string FormatTimeLeft(TimeSpan seconds) {
    if (seconds < 0) {
        seconds = 0;
    }
    const int minutes = static_cast<int>((seconds / 60) % 60);
    const int secs = static_cast<int>(seconds % 60);
    return {static_cast<char>('0' + minutes / 10), static_cast<char>('0' + minutes % 10), ':',
            static_cast<char>('0' + secs / 10), static_cast<char>('0' + secs % 10)};
}

}  // namespace tessaform
