// Decoding the bitmaps the pictures are stored as: row order, colours, and damage refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <tuple>
#include <vector>

#include "Picture.h"

namespace tessaform {

// Three by two pixels, rows padded to four bytes, a table of three colours (blue,
// green, red, 0 each) that index 7 lies past; height > 0 stores the bottom row first.
static std::vector<std::uint8_t> Small(std::int32_t height) {
    std::vector<std::uint8_t> b = {40,  0, 0, 0,   3, 0, 0, 0, 0, 0, 0, 0, 1,   0, 8,
                                   0,   0, 0, 0,   0, 0, 0, 0, 0, 0, 0, 0, 0,   0, 0,
                                   0,   0, 3, 0,   0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0,
                                   255, 0, 0, 255, 0, 0, 0, 0, 1, 2, 9, 7, 2,   1, 9};
    std::memcpy(&b[8], &height, 4);  // the fields are little-endian, as this machine is
    return b;
}

TEST(DecodeBitmap, ReadsRowsInTheirStoredOrderAndDrawsAnUnknownIndexOpaqueBlack) {
    const std::uint32_t red = 0xffff0000, green = 0xff00ff00, blue = 0xff0000ff, black = 0xff000000;
    const auto bottomUp = DecodeBitmap(Small(2)), topDown = DecodeBitmap(Small(-2));
    ASSERT_TRUE(bottomUp && topDown);
    EXPECT_EQ(std::tuple(bottomUp->width, bottomUp->height, topDown->height), std::tuple(3, 2, 2));
    EXPECT_EQ(bottomUp->pixels, (std::vector{black, blue, green, red, green, blue}));
    EXPECT_EQ(topDown->pixels, (std::vector{red, green, blue, black, blue, green}));
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

}  // namespace tessaform
