#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "Arrangements.h"

namespace tessaform {
namespace {

int IndexOfCode(const std::string& code) {
    for (int k = 0; k < kArrangementCount; ++k) {
        if (code == kArrangementCodes[k]) {
            return k;
        }
    }
    return -1;
}

TEST(ArrangementTable, HoldsEveryPermutationOnceInLetterOrder) {
    std::string letters = "cxst";
    const auto rank = [](char c) { return std::string("cxst").find(c); };
    int k = 0;
    do {
        EXPECT_EQ(kArrangementCodes[k], letters) << "entry " << k;
        ++k;
    } while (std::next_permutation(letters.begin(), letters.end(),
                                   [&](char a, char b) { return rank(a) < rank(b); }));
    EXPECT_EQ(k, kArrangementCount);
}

TEST(ApplyArrow, WorkedExamplesFromTheFirstAndLastArrangements) {
    // From "cxst".
    EXPECT_EQ(ApplyArrow(0, 0), 7);
    EXPECT_EQ(ApplyArrow(0, 1), 23);
    EXPECT_EQ(ApplyArrow(0, 2), 6);
    EXPECT_EQ(ApplyArrow(0, 3), 1);
    EXPECT_EQ(ApplyArrow(0, 4), 21);
    EXPECT_EQ(ApplyArrow(0, 5), 2);
    EXPECT_EQ(ApplyArrow(0, 6), 14);
    EXPECT_EQ(ApplyArrow(0, 9), 14);
    EXPECT_EQ(ApplyArrow(0, 7), 5);
    EXPECT_EQ(ApplyArrow(0, 8), 5);
    // From "tsxc".
    EXPECT_EQ(ApplyArrow(23, 1), 0);
    EXPECT_EQ(ApplyArrow(23, 2), 17);
    EXPECT_EQ(ApplyArrow(23, 7), 18);
    EXPECT_EQ(ApplyArrow(23, 8), 18);
}

TEST(ApplyArrow, SwapsExactlyTheCellsItsArrowShows) {
    // Each arrow's pairs of cell positions, independent of the source table.
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

TEST(ApplyArrow, MovesAreTheirOwnInversesAndNeverStandStill) {
    for (int a = 0; a < kArrangementCount; ++a) {
        for (int arrow = 0; arrow < kArrowCount; ++arrow) {
            const int moved = ApplyArrow(a, arrow);
            EXPECT_NE(moved, a);
            EXPECT_EQ(ApplyArrow(moved, arrow), a) << "arrangement " << a << " arrow " << arrow;
        }
    }
}

TEST(ApplyArrow, DiagonalArmsAgreeAndTenArrowsReachEightArrangements) {
    for (int a = 0; a < kArrangementCount; ++a) {
        EXPECT_EQ(ApplyArrow(a, 6), ApplyArrow(a, 9));
        EXPECT_EQ(ApplyArrow(a, 7), ApplyArrow(a, 8));
        std::set<int> reached;
        for (int arrow = 0; arrow < kArrowCount; ++arrow) {
            reached.insert(ApplyArrow(a, arrow));
        }
        EXPECT_EQ(reached.size(), 8u) << "arrangement " << a;
    }
}

TEST(ApplyArrow, AnyArrangementReachesAnyOtherInAtMostTwoMoves) {
    for (int from = 0; from < kArrangementCount; ++from) {
        std::set<int> reach = {from};
        for (int arrow = 0; arrow < kArrowCount; ++arrow) {
            const int one = ApplyArrow(from, arrow);
            reach.insert(one);
            for (int second = 0; second < kArrowCount; ++second) {
                reach.insert(ApplyArrow(one, second));
            }
        }
        EXPECT_EQ(reach.size(), static_cast<size_t>(kArrangementCount)) << "from " << from;
    }
}

TEST(PictureIds, EachArrangementHasItsOwnBitmapInTheBlockRange) {
    std::set<int> ids(kPictureResourceIds.begin(), kPictureResourceIds.end());
    EXPECT_EQ(ids.size(), 24u);
    EXPECT_EQ(*ids.begin(), 130);
    EXPECT_EQ(*ids.rbegin(), 153);
    EXPECT_EQ(kPictureResourceIds[0], 133);
    EXPECT_EQ(IndexOfCode("cxst"), 0);
}

}  // namespace
}  // namespace tessaform
