// The rules: arrangements and the arrows' moves, where a press lands, the deal, the scale, the
// set's average and the clock's text; the view's tests judge the scores of whole games.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
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
namespace {

TEST(Arrangements, AreEveryPermutationOnceInLetterOrder) {
    const std::string_view letters = "cxst";
    const auto before = [&](char a, char b) { return letters.find(a) < letters.find(b); };
    std::string code(letters);
    for (int k = 0; k < kArrangementCount; ++k) {
        EXPECT_EQ(kArrangementCodes[k], code) << "entry " << k;
        EXPECT_EQ(std::next_permutation(code.begin(), code.end(), before), k < 23);
    }
}

TEST(Arrows, AllTwoHundredFortyMovesSwapTheCellsTheirArrowShows) {
    // Written apart from the product's table: the cell positions (clockwise from the
    // top left) that each arrow swaps.
    const std::vector<std::vector<std::pair<int, int>>> swaps = {
        {{0, 1}, {2, 3}}, {{0, 3}, {1, 2}}, {{0, 1}}, {{2, 3}}, {{0, 3}},
        {{1, 2}},         {{0, 2}},         {{1, 3}}, {{1, 3}}, {{0, 2}}};
    for (int a = 0; a < kArrangementCount; ++a) {
        for (int arrow = 0; arrow < kArrowCount; ++arrow) {
            std::string expected = kArrangementCodes[a];
            for (auto [i, j] : swaps[arrow]) {
                std::swap(expected[i], expected[j]);
            }
            EXPECT_EQ(kArrangementCodes[ApplyArrow(a, arrow)], expected)
                << "arrangement " << a << " arrow " << arrow;
        }
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

TEST(HitTest, ABlockAnswersOnItsFourEdgesAndTheRestOfTheGapToNone) {
    GameState s;
    for (int k = 0; k < kBlockCount; ++k) {
        s.blockRect[k] = {46 + k / 3 * 180, 21 + k % 3 * 180, 206 + k / 3 * 180, 181 + k % 3 * 180};
    }
    const int cases[][3] = {{46, 21, 0},          {206, 181, 0},  {207, 100, kNoBlock},
                            {225, 100, kNoBlock}, {226, 21, 3},   {46, 201, 1},
                            {45, 21, kNoBlock},   {746, 541, 11}, {747, 541, kNoBlock}};
    for (const auto& [x, y, block] : cases) {
        EXPECT_EQ(BlockAt(s, x, y), block) << "at " << x << "," << y;
    }
}

// Plays back fixed draws, then repeats the last.
struct ScriptedRandom : RandomSource {
    std::vector<int> draws;
    std::size_t next = 0;
    int Next() override { return draws[std::min(next++, draws.size() - 1)]; }
};

// The deal order beyond the twelfth never reaches the board.
TEST(Deal, EachDrawTakesItsRemainderAmongTheArrangementsLeft) {
    const std::pair<std::vector<int>, std::array<int, kBlockCount>> cases[] = {
        {{0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {{25, 46, 0}, {1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {{5}, {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
        {{23, 22, 21}, {23, 22, 21, 0, 2, 4, 6, 8, 10, 12, 14, 16}}};
    for (const auto& [draws, board] : cases) {
        GameState s;
        ScriptedRandom random;
        random.draws = draws;
        Deal(s, random);
        EXPECT_EQ(s.blockArrangement, board) << "first draw " << draws[0];
    }
}

TEST(Scale, IsTenTimesTheTetrahedralNumbersWithTheLastOneRepeated) {
    const ScaleTable s = BuildScaleTable();
    for (int i = 0; i < 90; ++i) {
        EXPECT_EQ(s[i], 10LL * (i + 1) * (i + 2) * (i + 3) / 6) << "entry " << i;
    }
    EXPECT_EQ(s[90], s[89]);
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

}  // namespace
}  // namespace tessaform
