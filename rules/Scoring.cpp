// The scoring of a board: match score, click cost, bonus, and the average of a set.
#include "Scoring.h"

#include <algorithm>

namespace tessaform {

std::int32_t BlockClickCost(const ScaleTable& scale, int clicks) {
    return clicks > 0 ? scale[std::min(clicks, kScaleSize) - 1] : 0;
}

bool BonusCounts(int matchCount, bool bonusAllowed) {
    return bonusAllowed && matchCount >= kBlockCount;
}

std::int32_t Bonus(const ScaleTable& scale, int matchCount, int bonusIndex, bool bonusAllowed) {
    if (!BonusCounts(matchCount, bonusAllowed)) {
        return 0;
    }
    const int index = std::clamp(bonusIndex, 0, kScaleSize - 1);
    return std::min(scale[index], kMaxBonus);
}

int BonusIndexFor(TimeSpan secondsLeft) {
    return static_cast<int>(std::min<TimeSpan>(secondsLeft, 90)) - 1;
}

void TallyBoard(GameState& s) {
    s.allResolved = 1;
    s.matchCount = 0;
    s.clickCost = 0;
    for (int k = 0; k < kBlockCount; ++k) {
        if (k == kMasterBlock) {
            ++s.matchCount;
            continue;
        }
        if (s.blockStatus[k] == kOpen) {
            s.allResolved = 0;
        } else if (s.blockStatus[k] == kMatched) {
            ++s.matchCount;
        }
        s.clickCost += BlockClickCost(s.scaleTable, s.blockClicks[k]);
    }
    s.matchScore = s.scaleTable[s.matchCount - 1];
}

std::int32_t SetAverage(const std::array<std::int32_t, 6>& setScores) {
    std::int64_t sum = 0;
    for (int i = 0; i < kSetLength; ++i) {
        sum += setScores[i];
    }
    return static_cast<std::int32_t>((sum + 4) / 5);
}

}  // namespace tessaform
