// The game's invariants, checked from the state alone.
#include "Invariants.h"

#include <algorithm>

#include "Board.h"
#include "Scoring.h"
#include "TimeText.h"

namespace tessaform {

std::string BrokenInvariant(const GameState& s, int minimumWidth) {
    if (s.gameIndex < 0 || s.gameIndex >= kSetLength) {
        return "gameIndex outside 0..4";
    }
    if (s.gameOver == 0 && s.boardInitialized == 0) {
        return "a game in play without a board";
    }
    if (s.boardInitialized == 1 && s.blockStatus[kMasterBlock] != kMatched) {
        return "the master is not matched";
    }
    std::int32_t cost = 0;
    int matched = 1;
    for (int k = 1; k < kBlockCount; ++k) {
        for (int j = 1; j < k; ++j) {
            const bool open = s.blockStatus[k] != kLost && s.blockStatus[j] != kLost;
            const int a = s.blockArrangement[k];
            if (open && a == s.blockArrangement[j] && a != s.blockArrangement[kMasterBlock]) {
                return "two open blocks share an arrangement";
            }
        }
        cost += BlockClickCost(s.scaleTable, std::clamp(s.blockClicks[k], 0, kMaxBlockClicks));
        matched += s.blockStatus[k] == kMatched ? 1 : 0;
    }
    // The tally is made at each evaluation; before the first it is still zero.
    if (s.matchCount != 0 && (s.matchCount != matched || s.clickCost != cost ||
                              s.matchScore != s.scaleTable[s.matchCount - 1])) {
        return "the tally disagrees with the board";
    }
    if (s.timeLeft < 0 || s.timeLeft > kGameSeconds) {
        return "the time left out of range";
    }
    if (s.clientRect.right < minimumWidth && s.boardInitialized == 1 && s.gameOver == 0) {
        return "play behind the narrow-screen warning";
    }
    return {};
}

}  // namespace tessaform
