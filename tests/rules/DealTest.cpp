#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "Deal.h"

namespace tessaform {
namespace {

// Plays back a fixed list of draws, then repeats the last.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int> draws) : draws_(std::move(draws)) {}
    int Next() override {
        const int v = draws_[std::min(next_, draws_.size() - 1)];
        ++next_;
        return v;
    }
    size_t calls() const { return next_; }

private:
    std::vector<int> draws_;
    size_t next_ = 0;
};

TEST(Deal, DrawsFromThePoolByRemainderOfEachDraw) {
    // Always drawing 0 takes the pool in order; drawing the last takes it backwards.
    GameState state;
    ScriptedRandom first({0});
    Deal(state, first);
    EXPECT_EQ(first.calls(), 24u);
    for (int k = 0; k < kBlockCount; ++k) {
        EXPECT_EQ(state.blockArrangement[k], k);
    }

    ScriptedRandom last(
        {23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
    Deal(state, last);
    for (int k = 0; k < kBlockCount; ++k) {
        EXPECT_EQ(state.blockArrangement[k], 23 - k);
    }

    // Large draws are reduced modulo the entries left: 25 % 24 = 1, then 46 % 23 = 0.
    ScriptedRandom wrapped({25, 46, 0});
    Deal(state, wrapped);
    EXPECT_EQ(state.dealOrder[0], 1);
    EXPECT_EQ(state.dealOrder[1], 0);
    EXPECT_EQ(state.dealOrder[2], 2);
}

TEST(Deal, GivesTwelveDifferentArrangementsAndUsesAllTwentyFour) {
    GameState state;
    SeededRandom random(12345);
    std::set<int> seenOnBoard;
    for (int round = 0; round < 200; ++round) {
        Deal(state, random);
        std::set<int> order(state.dealOrder.begin(), state.dealOrder.end());
        EXPECT_EQ(order.size(), 24u);
        std::set<int> board(state.blockArrangement.begin(), state.blockArrangement.end());
        EXPECT_EQ(board.size(), 12u);
        EXPECT_EQ(state.blockArrangement[kMasterBlock], state.dealOrder[0]);
        for (int k = 12; k < 24; ++k) {
            EXPECT_EQ(board.count(state.dealOrder[k]), 0u);
        }
        seenOnBoard.insert(board.begin(), board.end());
    }
    EXPECT_EQ(seenOnBoard.size(), 24u);
}

TEST(Deal, DrawingAloneLeavesTheBoardUntouched) {
    GameState state;
    state.blockArrangement.fill(7);
    ScriptedRandom random({3});
    DrawDeal(state, random);
    for (int a : state.blockArrangement) {
        EXPECT_EQ(a, 7);
    }
    AssignDeal(state);
    EXPECT_EQ(state.blockArrangement[0], 3);
}

}  // namespace
}  // namespace tessaform
