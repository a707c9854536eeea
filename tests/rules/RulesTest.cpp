// The rules: arrangements and the arrows' moves, where a press lands on a block, the deal, the
// set's average and the clock's text; the view's tests judge the scale, the scores of whole
// games and which block a press lands on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <ranges>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Arrangements.h"
#include "Deal.h"
#include "HitTest.h"
#include "Scoring.h"
#include "TimeText.h"

namespace tessaform {

// Written apart from the product's tables: the arrangements, every order of the four shapes
// once in their letter order, and the cell positions (clockwise from the top left) that each
// arrow swaps.
TEST(Arrows, AllTwoHundredFortyMovesSwapTheCellsTheirArrowShows) {
    const std::vector<std::vector<std::pair<int, int>>> swaps = {
        {{0, 1}, {2, 3}}, {{0, 3}, {1, 2}}, {{0, 1}}, {{2, 3}}, {{0, 3}},
        {{1, 2}},         {{0, 2}},         {{1, 3}}, {{1, 3}}, {{0, 2}}};
    const std::string_view letters = "cxst";
    std::string code(letters);
    for (int a = 0; a < kArrangementCount; ++a) {
        ASSERT_EQ(kArrangementCodes[a], code) << "arrangement " << a;
        for (int arrow = 0; arrow < kArrowCount; ++arrow) {
            std::string expected = code;
            for (auto [i, j] : swaps[arrow]) {
                std::swap(expected[i], expected[j]);
            }
            EXPECT_EQ(kArrangementCodes[ApplyArrow(a, arrow)], expected)
                << "arrangement " << a << " arrow " << arrow;
        }
        std::ranges::next_permutation(
            code, [&](char x, char y) { return letters.find(x) < letters.find(y); });
    }
}

TEST(HitTest, EveryPointOfABlockFindsTheArrowWhoseAreaHoldsIt) {
    // Arrow, then the dx and dy it answers to, inclusive, once the tolerances and the
    // test order 6, 9, 7, 8 have shared out the overlaps of the centre's arms.
    const int areas[][5] = {{0, 64, 96, 0, 16},    {1, 0, 16, 64, 96},  {2, 66, 94, 33, 47},
                            {3, 66, 94, 113, 127}, {4, 33, 47, 66, 94}, {5, 113, 127, 66, 94},
                            {6, 64, 81, 64, 81},   {9, 82, 96, 79, 96}, {9, 79, 81, 82, 96},
                            {7, 82, 96, 64, 78},   {8, 64, 78, 82, 96}};
    const GameState s;
    for (int dy = -3; dy <= 163; ++dy) {
        for (int dx = -3; dx <= 163; ++dx) {
            const auto* area = std::ranges::find_if(areas, [&](auto& a) {
                return a[1] <= dx && dx <= a[2] && a[3] <= dy && dy <= a[4];
            });
            const int expected = area == std::end(areas) ? kNoArrow : (*area)[0];
            ASSERT_EQ(ArrowAt(s, dx, dy), expected) << "at " << dx << "," << dy;
        }
    }
}

// Plays back fixed draws, then repeats the last.
struct ScriptedRandom : RandomSource {
    ScriptedRandom(std::initializer_list<int> d) : draws(d) {}
    std::vector<int> draws;
    std::size_t next = 0;
    int Next() override { return draws[std::min(next++, draws.size() - 1)]; }
};

// The deal order beyond the twelfth never reaches the board.
TEST(Deal, EachDrawTakesItsRemainderAmongTheArrangementsLeft) {
    const std::pair<ScriptedRandom, std::array<int, kBlockCount>> cases[] = {
        {{25, 46, 0}, {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {{5}, {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {{23, 22, 21}, {23, 22, 21, 0, 2, 4, 6, 8, 10, 12, 14, 16}}};
    for (auto [random, board] : cases) {
        GameState s;
        Deal(s, random);
        EXPECT_EQ(s.blockArrangement, board) << "first draw " << random.draws[0];
    }
}

TEST(Scoring, TheSetAverageRoundsUpAndTruncatesNegativeSumsTowardZero) {
    const std::pair<std::array<std::int32_t, 6>, std::int32_t> cases[] = {
        {{100, 200, 300, 400, 501, 999}, 301},  // the sixth slot is never played
        {{-7, 0, 0, 0, 0, 0}, 0},
        {{-24190, -24190, -24190, -24190, -24190, 0}, -24189},
        {{120, -30, 3640, 0, 1'255'800, 0}, 251'906}};
    for (const auto& [scores, average] : cases) {
        EXPECT_EQ(SetAverage(scores), average) << "first score " << scores[0];
    }
}

TEST(TimeText, ShowsMinutesWithinTheHourAndSecondsInTwoDigitsEach) {
    const std::pair<TimeSpan, std::string> cases[] = {
        {105, "01:45"},  {60, "01:00"}, {59, "00:59"}, {600, "10:00"},
        {3661, "01:01"}, {0, "00:00"},  {-3, "00:00"}};
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(FormatTimeLeft(seconds), text) << seconds << " s";
    }
}

}  // namespace tessaform
