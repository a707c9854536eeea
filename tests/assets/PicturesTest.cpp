// The pictures: the 24 block pictures, the shape in each cell and the arrows under their hot
// spots; and decoding the bitmaps they are stored as: row order, colours, and damage refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <tuple>
#include <vector>

#include "Arrangements.h"
#include "Picture.h"
#include "Resources.h"

namespace tessaform {
// Apart from the screen's colours of the same names, which are of another type.
namespace {

constexpr std::uint32_t kGrey = 0xff808080, kBlack = 0xff000000, kWhite = 0xffffffff,
                        kMagenta = 0xffff00ff, kBlue = 0xff0000ff, kLightBlue = 0xff8080ff,
                        kYellow = 0xffffff00, kGreen = 0xff00ff00, kRed = 0xffff0000;

// Whether colour c is right at (x, y) of a 48 by 48 cell showing the shape.
bool FitsShape(char shape, int x, int y, std::uint32_t c) {
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

// Three by two pixels, rows padded to four bytes, a table of three colours (blue,
// green, red, 0 each) that index 7 lies past; height > 0 stores the bottom row first.
std::vector<std::uint8_t> Small(std::int32_t height) {
    std::vector<std::uint8_t> b = {40,  0, 0, 0,   3, 0, 0, 0, 0, 0, 0, 0, 1,   0, 8,
                                   0,   0, 0, 0,   0, 0, 0, 0, 0, 0, 0, 0, 0,   0, 0,
                                   0,   0, 3, 0,   0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0,
                                   255, 0, 0, 255, 0, 0, 0, 0, 1, 2, 9, 7, 2,   1, 9};
    std::memcpy(&b[8], &height, 4);  // the fields are little-endian, as this machine is
    return b;
}

TEST(DecodeBitmap, ReadsRowsInTheirStoredOrderAndDrawsAnUnknownIndexOpaqueBlack) {
    const auto bottomUp = DecodeBitmap(Small(2)), topDown = DecodeBitmap(Small(-2));
    ASSERT_TRUE(bottomUp && topDown);
    EXPECT_EQ(std::tuple(bottomUp->width, bottomUp->height, topDown->height), std::tuple(3, 2, 2));
    EXPECT_EQ(bottomUp->pixels, (std::vector{kBlack, kBlue, kGreen, kRed, kGreen, kBlue}));
    EXPECT_EQ(topDown->pixels, (std::vector{kRed, kGreen, kBlue, kBlack, kBlue, kGreen}));
}

TEST(DecodeBitmap, RefusesWhatIsNotAnEightBitUncompressedBitmapOfAtMost4096Square) {
    // Field offset, size and the value written there; whether the bitmap is still read.
    const std::tuple<std::size_t, int, std::int32_t, bool> cases[] = {
        {0, 4, 41, false},    {4, 4, 0, false},   {4, 4, 4096, true},  {4, 4, 4097, false},
        {8, 4, 0, false},     {8, 4, 4096, true}, {8, 4, 4097, false}, {8, 4, -4096, true},
        {8, 4, -4097, false}, {12, 2, 2, false},  {14, 2, 4, false},   {16, 4, 1, false},
        {32, 4, 0, true},     {32, 4, 256, true}, {32, 4, 257, false}};
    for (const auto& [at, size, value, read] : cases) {
        std::vector<std::uint8_t> b = Small(2);
        b.resize(40 + 4 * 256 + 4 * 4096);  // room for every size that is read
        std::memcpy(&b[at], &value, size);
        EXPECT_EQ(DecodeBitmap(b).has_value(), read) << "offset " << at << " value " << value;
    }
    EXPECT_FALSE(DecodeBitmap(std::span<const std::uint8_t>(Small(2)).first(59))) << "cut short";
}

}  // namespace
}  // namespace tessaform
