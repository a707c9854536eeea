#pragma once

#include <array>
#include <cstdint>

#include "GameState.h"

namespace tessaform {

// What one block's moves cost: the scale entry of its move count, nothing for none.
std::int32_t BlockClickCost(const ScaleTable& scale, int clicks);

// The bonus shown when the panel allows one: only with all eleven blocks matched.
std::int32_t Bonus(const ScaleTable& scale, int matchCount, int bonusIndex, bool bonusAllowed);

// (sum + 4) / 5, truncating toward zero as the recap always has.
std::int32_t SetAverage(const std::array<std::int32_t, 6>& setScores);

}  // namespace tessaform
