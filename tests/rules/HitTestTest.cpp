#include <gtest/gtest.h>

#include "Arrangements.h"
#include "HitTest.h"

namespace tessaform {
namespace {

GameState LaidOut() {
    GameState s;
    s.arrowRect = kArrowHotSpots;
    for (int k = 0; k < kBlockCount; ++k) {
        const int left = 46 + ColumnOf(k) * 180;
        const int top = 21 + RowOf(k) * 180;
        s.blockRect[k] = {left, top, left + 160, top + 160};
    }
    return s;
}

TEST(HitTest, EachStraightArrowAnswersWithinItsTolerances) {
    const GameState s = LaidOut();
    struct Range {
        int arrow, left, right, top, bottom;  // accepted, inclusive
    };
    const Range ranges[] = {{0, 64, 96, 0, 16},    {1, 0, 16, 64, 96},  {2, 66, 94, 33, 47},
                            {3, 66, 94, 113, 127}, {4, 33, 47, 66, 94}, {5, 113, 127, 66, 94}};
    for (const Range& r : ranges) {
        const int midX = (r.left + r.right) / 2;
        const int midY = (r.top + r.bottom) / 2;
        EXPECT_EQ(ArrowAt(s, r.left, midY), r.arrow);
        EXPECT_EQ(ArrowAt(s, r.right, midY), r.arrow);
        EXPECT_EQ(ArrowAt(s, midX, r.top), r.arrow);
        EXPECT_EQ(ArrowAt(s, midX, r.bottom), r.arrow);
        EXPECT_EQ(ArrowAt(s, r.left - 1, midY), kNoArrow) << "arrow " << r.arrow;
        EXPECT_EQ(ArrowAt(s, r.right + 1, midY), kNoArrow) << "arrow " << r.arrow;
        EXPECT_EQ(ArrowAt(s, midX, r.bottom + 1), kNoArrow) << "arrow " << r.arrow;
    }
}

TEST(HitTest, TheCentreArmsShareTheOverlapInTheirTestOrder) {
    const GameState s = LaidOut();
    EXPECT_EQ(ArrowAt(s, 80, 80), 6) << "the centre itself";
    EXPECT_EQ(ArrowAt(s, 81, 81), 6);
    EXPECT_EQ(ArrowAt(s, 82, 82), 9);
    EXPECT_EQ(ArrowAt(s, 81, 70), 6);
    EXPECT_EQ(ArrowAt(s, 82, 70), 7);
    EXPECT_EQ(ArrowAt(s, 82, 79), 9) << "the lower-right arm is tried before the upper-right";
    EXPECT_EQ(ArrowAt(s, 70, 82), 8);
    EXPECT_EQ(ArrowAt(s, 79, 82), 9);
    EXPECT_EQ(ArrowAt(s, 96, 96), 9);
    EXPECT_EQ(ArrowAt(s, 64, 96), 8);
    EXPECT_EQ(ArrowAt(s, 97, 70), kNoArrow);
}

TEST(HitTest, ABlockAnswersOnAllFourEdgesAndTheGapsRestBelongsToNone) {
    const GameState s = LaidOut();
    EXPECT_EQ(BlockAt(s, 46, 21), 0);
    EXPECT_EQ(BlockAt(s, 206, 181), 0) << "one past the picture, both ways";
    EXPECT_EQ(BlockAt(s, 207, 100), kNoBlock);
    EXPECT_EQ(BlockAt(s, 225, 100), kNoBlock);
    EXPECT_EQ(BlockAt(s, 226, 21), 3);
    EXPECT_EQ(BlockAt(s, 46, 201), 1);
    EXPECT_EQ(BlockAt(s, 746, 541), 11);
    EXPECT_EQ(BlockAt(s, 747, 541), kNoBlock);
    EXPECT_EQ(BlockAt(s, 45, 21), kNoBlock);
}

}  // namespace
}  // namespace tessaform
