#include <gtest/gtest.h>

#include "Board.h"
#include "GameState.h"
#include "Scoring.h"
#include "TimeText.h"

namespace tessaform {
namespace {

TEST(ScaleTable, FollowsTheTetrahedralNumbersAndRepeatsItsLastEntry) {
    const GameState state;
    const ScaleTable& s = state.scaleTable;
    EXPECT_EQ(s[0], 10);
    EXPECT_EQ(s[9], 2200);
    EXPECT_EQ(s[11], 3640);
    EXPECT_EQ(s[88], 1'214'850);
    EXPECT_EQ(s[89], 1'255'800);
    EXPECT_EQ(s[90], 1'255'800);
    for (int i = 0; i < 90; ++i) {
        const long long closed = 10LL * (i + 1) * (i + 2) * (i + 3) / 6;
        EXPECT_EQ(s[i], closed) << "entry " << i;
    }
}

TEST(GameState, StartsWithTheConstructionValues) {
    const GameState state;
    EXPECT_EQ(state.matchScore, 10);
    EXPECT_EQ(state.clickCost, 0);
    EXPECT_EQ(state.blockSize, 160);
    EXPECT_EQ(state.blockPitch, 180);
    EXPECT_EQ(state.clockInterval, 50u);
    EXPECT_EQ(state.restInterval, 1000u);
    EXPECT_EQ(state.gameOver | state.timeExpired | state.clockRunning | state.boardInitialized, 0);
    for (int score : state.setScores) {
        EXPECT_EQ(score, 0);
    }
    EXPECT_EQ(state.dissolveOrder.size(), 60'000u);
}

TEST(Scoring, ClickCostIsTheScaleEntryOfTheMoveCount) {
    const GameState state;
    EXPECT_EQ(BlockClickCost(state.scaleTable, 0), 0);
    EXPECT_EQ(BlockClickCost(state.scaleTable, 1), 10);
    EXPECT_EQ(BlockClickCost(state.scaleTable, 2), 40);
    EXPECT_EQ(BlockClickCost(state.scaleTable, 3), 100);
    EXPECT_EQ(BlockClickCost(state.scaleTable, 10), 2200);
}

TEST(Scoring, BonusNeedsAllElevenMatchedAndIsCapped) {
    const GameState state;
    EXPECT_EQ(Bonus(state.scaleTable, 12, 6, true), 840);
    EXPECT_EQ(Bonus(state.scaleTable, 12, 89, true), 1'255'800);
    EXPECT_EQ(Bonus(state.scaleTable, 12, 90, true), 1'255'800);
    EXPECT_EQ(Bonus(state.scaleTable, 11, 89, true), 0);
    EXPECT_EQ(Bonus(state.scaleTable, 12, 89, false), 0);
}

TEST(Scoring, TallyCountsMatchesAndCostsEveryBlockWhateverItsStatus) {
    GameState s;
    s.blockStatus.fill(kOpen);
    s.blockStatus[kMasterBlock] = kMatched;
    s.blockClicks[kMasterBlock] = 5;  // the master's count never costs
    TallyBoard(s);
    EXPECT_EQ(s.matchCount, 1);
    EXPECT_EQ(s.matchScore, 10);
    EXPECT_EQ(s.clickCost, 0);
    EXPECT_EQ(s.allResolved, 0);

    s.blockStatus[1] = kMatched;
    s.blockClicks[1] = 3;  // moved three times, then matched: 100
    s.blockStatus[2] = kLost;
    s.blockClicks[2] = 2;  // moved twice, then lost: still 40
    s.blockClicks[3] = 10;
    TallyBoard(s);
    EXPECT_EQ(s.matchCount, 2);
    EXPECT_EQ(s.matchScore, 40);
    EXPECT_EQ(s.clickCost, 100 + 40 + 2200);
    EXPECT_EQ(s.allResolved, 0);

    for (int k = 1; k < kBlockCount; ++k) {
        s.blockStatus[k] = k == 2 ? kLost : kMatched;
    }
    TallyBoard(s);
    EXPECT_EQ(s.allResolved, 1) << "no open block left, one of them lost";
    EXPECT_EQ(s.matchCount, 11);
    EXPECT_EQ(s.matchScore, 2860);
}

TEST(Scoring, BonusIndexCountsAtMostNinetySeconds) {
    EXPECT_EQ(BonusIndexFor(7), 6);
    EXPECT_EQ(BonusIndexFor(90), 89);
    EXPECT_EQ(BonusIndexFor(95), 89);
    EXPECT_EQ(BonusIndexFor(1), 0);
}

TEST(Scoring, SetAverageRoundsUpNonNegativeSumsAndTruncatesTowardZero) {
    EXPECT_EQ(SetAverage({100, 200, 300, 400, 501, 999}), 301);  // the sixth slot is not played
    EXPECT_EQ(SetAverage({300, 300, 300, 300, 300, 0}), 300);
    EXPECT_EQ(SetAverage({-7, 0, 0, 0, 0, 0}), 0);
    EXPECT_EQ(SetAverage({-24190, -24190, -24190, -24190, -24190, 0}), -24189);
    EXPECT_EQ(SetAverage({120, -30, 3640, 0, 1'255'800, 0}), 251906);
    // Five of the largest net scores do not overflow.
    EXPECT_EQ(SetAverage({1'259'330, 1'259'330, 1'259'330, 1'259'330, 1'259'330, 0}), 1'259'330);
}

TEST(TimeText, FormatsMinutesAndSecondsWithLeadingZeros) {
    EXPECT_EQ(FormatTimeLeft(105), "01:45");
    EXPECT_EQ(FormatTimeLeft(60), "01:00");
    EXPECT_EQ(FormatTimeLeft(59), "00:59");
    EXPECT_EQ(FormatTimeLeft(0), "00:00");
    EXPECT_EQ(FormatTimeLeft(-3), "00:00");
}

TEST(Board, BlocksAreNumberedDownEachColumn) {
    EXPECT_EQ(BlockIndex(0, 1), 1);
    EXPECT_EQ(BlockIndex(1, 0), 3);
    EXPECT_EQ(BlockIndex(3, 2), 11);
    for (int k = 0; k < kBlockCount; ++k) {
        EXPECT_EQ(BlockIndex(ColumnOf(k), RowOf(k)), k);
    }
}

}  // namespace
}  // namespace tessaform
