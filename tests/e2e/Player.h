#pragma once

#include <vector>

#include "Desktop.h"
#include "Planner.h"
#include "ScreenReader.h"

namespace tessaform::e2e {

// The board as a player sees it: shapes, and who is matched (green) or lost (grey).
// A block whose picture cannot be read counts as lost, with the code "?".
Table ReadTable(const Screen& screen);

// Presses each move's arrow, then waits until the block shows the shapes and the frame
// that the player expects, for at most `seconds`. Throws Abort when it does not.
// `pressed` hears of each press just before it is made.
void PlayMoves(Desktop& desktop, const Layout& layout, DigitReader& digits, Table& table,
               const std::vector<Move>& moves, const std::function<void()>& pressed = {},
               double seconds = 5);

}  // namespace tessaform::e2e
