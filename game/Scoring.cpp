#include "Scoring.h"

#include <algorithm>

namespace tessaform {

std::int32_t BlockClickCost(const ScaleTable& scale, int clicks) {
    return clicks > 0 ? scale[std::min(clicks, kScaleSize) - 1] : 0;
}

std::int32_t Bonus(const ScaleTable& scale, int matchCount, int bonusIndex, bool bonusAllowed) {
    if (!bonusAllowed || matchCount < kBlockCount) {
        return 0;
    }
    const int index = std::clamp(bonusIndex, 0, kScaleSize - 1);
    return std::min(scale[index], kMaxBonus);
}

std::int32_t SetAverage(const std::array<std::int32_t, 6>& setScores) {
    std::int64_t sum = 0;
    for (int i = 0; i < kSetLength; ++i) {
        sum += setScores[i];
    }
    return static_cast<std::int32_t>((sum + 4) / 5);
}

}  // namespace tessaform
