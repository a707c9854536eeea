// What holds of the game between any two events; debug builds and the soak check it.
#pragma once

#include <string>

#include "GameState.h"

namespace tessaform {

// Empty while the state is sound, else what broke first. `minimumWidth` is the narrowest
// client area the game plays on.
std::string BrokenInvariant(const GameState& s, int minimumWidth);

}  // namespace tessaform
