// The whole state of the game: board, scores, clock, texts and screen layout.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "Arrangements.h"
#include "Board.h"
#include "Rect.h"
#include "Scale.h"

namespace tessaform {

using CalendarTime = std::int64_t;  // whole seconds since the epoch
using TimeSpan = std::int64_t;      // whole seconds

inline constexpr int kDissolveCapacity = 60'000;
inline constexpr int kInstructionCapacity = 50;
inline constexpr int kSetLength = 5;

// The whole game: board, scores, clock and screen layout. Everything a value
// is not given for yet starts at zero, so nothing is ever read undefined.
struct GameState {
    GameState();

    // Game data.
    std::array<int, kArrangementCount> dealOrder{};
    std::array<int, kArrangementCount> dealPool{};
    std::vector<int> dissolveOrder = std::vector<int>(kDissolveCapacity, 0);
    ScaleTable scaleTable{};
    std::int32_t clickCost = 0;
    std::int32_t matchScore = 10;
    std::array<std::int32_t, 6> setScores{};
    int boardInitialized = 0;
    std::array<int, kBlockCount> blockStatus{};
    std::array<int, kBlockCount> blockArrangement{};
    std::array<int, kBlockCount> blockClicks{};
    int boardLeft = 0;
    int boardTop = 0;
    int blockSize = 160;
    int blockPitch = 180;
    int gameOver = 0;
    int timeExpired = 0;
    int clockRunning = 0;
    std::uint32_t clockInterval = 50;
    int allResolved = 0;
    int matchCount = 0;
    int bonusIndex = 0;
    std::uint32_t restInterval = 1000;
    int gameIndex = 0;

    // Written by every printed page, read by nothing else.
    int printCharWidth = 0;
    int printTextLeft = 0;
    int printTextRight = 0;
    int printTextX = 0;
    int printLineHeight = 0;
    int printAreaWidth = 0;

    // Layout.
    Rect clientRect;
    std::array<Rect, kBlockCount> blockRect{};
    std::array<Rect, kArrowCount> arrowRect = kArrowHotSpots;  // the same in every layout
    Rect timeValueRect, timeLabelRect;
    Rect bonusValueRect, bonusLabelRect;
    Rect clickCostValueRect, clickCostLabelRect;
    Rect matchScoreValueRect, matchScoreLabelRect;
    Rect netScoreValueRect, netScoreLabelRect;
    Rect recapValueRect, recapLabelRect;
    Rect anotherSetRect;

    // Clock and texts.
    CalendarTime gameStartTime = 0;
    CalendarTime now = 0;
    CalendarTime titleTime = 0;
    TimeSpan timeLeft = 0;
    std::string titleText;
    std::string titleTimeText;
    std::string timeLeftText;
    std::array<std::string, kInstructionCapacity> instructionLines{};
};

}  // namespace tessaform
