// What a board scores and costs, the bonus for finishing early, and a set's average.
#pragma once

#include <array>
#include <cstdint>

#include "GameState.h"

namespace tessaform {

// What one block's moves cost: the scale entry of its move count, nothing for none.
std::int32_t BlockClickCost(const ScaleTable& scale, int clicks);

// A bonus counts only where the panel allows one and all eleven blocks are matched.
bool BonusCounts(int matchCount, bool bonusAllowed);

// The bonus the panel shows: nothing unless it counts, never above the cap.
std::int32_t Bonus(const ScaleTable& scale, int matchCount, int bonusIndex, bool bonusAllowed);

// Seconds left beyond ninety earn nothing more.
int BonusIndexFor(TimeSpan secondsLeft);

// Recounts the matches and the click cost of the board after a click, and
// whether any block besides the master is still open.
void TallyBoard(GameState& state);

// (sum + 4) / 5, truncating toward zero as the recap always has.
std::int32_t SetAverage(const std::array<std::int32_t, 6>& setScores);

}  // namespace tessaform
