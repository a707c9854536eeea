// The length of a game, and the text of the time left.
#pragma once

#include <string>

#include "GameState.h"

namespace tessaform {

inline constexpr TimeSpan kGameSeconds = 105;

// "%M:%S": minutes within the hour and seconds, two digits each.
std::string FormatTimeLeft(TimeSpan seconds);

}  // namespace tessaform
