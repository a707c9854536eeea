// The 24 block pictures: the shape in each cell and the arrows under their hot spots.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Arrangements.h"
#include "Picture.h"
#include "Resources.h"

namespace tessaform {

constexpr std::uint32_t kGrey = 0xff808080, kBlack = 0xff000000, kWhite = 0xffffffff,
                        kMagenta = 0xffff00ff, kBlue = 0xff0000ff, kLightBlue = 0xff8080ff,
                        kYellow = 0xffffff00, kGreen = 0xff00ff00, kRed = 0xffff0000;

// Whether colour c is right at (x, y) of a 48 by 48 cell showing the shape.
static bool FitsShape(char shape, int x, int y, std::uint32_t c) {
    const double r = std::hypot(x - 23.5, y - 23.5);
    const bool bar = (14 <= x && x <= 33) || (14 <= y && y <= 33);
    // Two pixels wide on row 0, a pixel wider each side every second row, the base on row 45.
    const bool triangle = y <= 45 && std::abs(2 * x - 47) <= 1 + (y + 1) / 2 * 2;
    // The disc touches all four sides; light blue softens only its outermost ends.
    const bool disc =
        c == kGrey ? r > 23.6
                   : r < 24 && (c == kBlue || (c == kLightBlue && (x % 47 == 0 || y % 47 == 0)));
    return shape == 'c'   ? disc
           : shape == 'x' ? c == (bar ? kGreen : kGrey)
           : shape == 's' ? c == kYellow
                          : c == (triangle ? kRed : kGrey);
}

TEST(BlockPictures, ShowTheirArrangementAndEachArrowUnderItsHotSpot) {
    // Each hot spot, moved a pixel up and left, covers its arrow's black box; the glyph
    // leaves a black margin at the arrow's tips, and the centre's four arms share one box
    // divided by a black cross two pixels wide.
    const auto covered = [](int arrow) { return kArrowHotSpots[arrow].Offset(-1, -1); };
    const Rect centre{covered(6).left, covered(6).top, covered(9).right, covered(9).bottom};
    const int positions[2][2] = {{0, 1}, {3, 2}};
    const auto first = LoadBitmapResource(kPictureResourceIds[0]);
    std::array<int, kArrowCount> ink{};
    for (int k = 0; k < kArrangementCount; ++k) {
        const auto p = LoadBitmapResource(kPictureResourceIds[k]);
        ASSERT_TRUE(p && p->width == 160 && p->height == 160) << "arrangement " << k;
        for (int y = 0; y < 160; ++y) {
            for (int x = 0; x < 160; ++x) {
                const std::uint32_t c = p->At(x, y);
                if (const int cx = x % 80 - 16, cy = y % 80 - 16;
                    0 <= cx && cx < 48 && 0 <= cy && cy < 48) {
                    const char shape = kArrangementCodes[k][positions[y / 80][x / 80]];
                    ASSERT_TRUE(FitsShape(shape, cx, cy, c))
                        << k << ": " << shape << " at " << x << "," << y;
                    continue;
                }
                ASSERT_EQ(c, first->At(x, y)) << k << " differs from 0 at " << x << "," << y;
                int box = -1;
                for (int a = 0; a < kArrowCount; ++a) {
                    box = covered(a).ContainsWithEdges(x, y) ? a : box;
                }
                const Rect r = box < 0 ? Rect{} : box < 6 ? covered(box) : centre;
                const bool margin = (r.Width() >= r.Height() && (x == r.left || x == r.right)) ||
                                    (r.Height() >= r.Width() && (y == r.top || y == r.bottom)) ||
                                    (box >= 6 && (x == 79 || x == 80 || y == 79 || y == 80));
                const std::uint32_t glyph = box < 0 ? kGrey : box < 2 ? kMagenta : kWhite;
                ASSERT_TRUE(box < 0 ? c == kGrey : c == kBlack || (c == glyph && !margin))
                    << "arrow " << box << " at " << x << "," << y;
                ink[std::max(box, 0)] += box >= 0 && c == glyph;
            }
        }
    }
    EXPECT_THAT(ink, ::testing::Each(::testing::Gt(0))) << "glyph pixels of each arrow";
}

}  // namespace tessaform
