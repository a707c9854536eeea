#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "Arrangements.h"
#include "Picture.h"
#include "Resources.h"

namespace tessaform {
namespace {

constexpr std::uint32_t kGrey = 0xff808080, kBlack = 0xff000000, kWhite = 0xffffffff,
                        kMagenta = 0xffff00ff, kBlue = 0xff0000ff, kLightBlue = 0xff8080ff,
                        kYellow = 0xffffff00, kGreen = 0xff00ff00, kRed = 0xffff0000;

struct Box {
    int left, top, right, bottom;  // inclusive
    bool Contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
};

constexpr std::array<Box, 4> kCells = {
    {{16, 16, 63, 63}, {96, 16, 143, 63}, {96, 96, 143, 143}, {16, 96, 63, 143}}};

Box Covered(int arrow) {
    const Rect r = kArrowHotSpots[arrow].Offset(-1, -1);
    return {r.left, r.top, r.right, r.bottom};
}

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

class BlockPictures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const int id : kPictureResourceIds) {
            pictures_.push_back(LoadBitmapResource(id).value_or(Picture{}));
        }
    }
    void SetUp() override {
        for (const Picture& p : pictures_) {
            ASSERT_TRUE(p.width == 160 && p.height == 160);
        }
    }
    static const Picture& Of(int k) { return pictures_[k]; }
    static std::uint32_t InCell(int k, int position, int x, int y) {
        return pictures_[k].At(kCells[position].left + x, kCells[position].top + y);
    }
    static inline std::vector<Picture> pictures_;
};

TEST(BlockPictureFormat, HeaderSizeAndSharedPalette) {
    // Size, width, height (positive: bottom row first), 1 plane | 8 bits << 16,
    // compression, image size, both resolutions, colours used, important colours.
    const std::array<std::uint32_t, 10> header = {40, 160, 160, 0x00080001, 0, 25600, 0, 0, 0, 0};
    const auto first = FindResource(kBitmapType, 130);
    ASSERT_EQ(first.size(), 26664u);
    std::set<std::uint32_t> palette;  // blue, green, red, reserved 0 read as 0x00RRGGBB
    for (std::size_t at = 40; at < 1064; at += 4) {
        palette.insert(Le32(first, at));
    }
    for (const std::uint32_t rgb : {0x808080u, 0x000000u, 0xffffffu, 0xff00ffu, 0x0000ffu,
                                    0x8080ffu, 0xffff00u, 0x00ff00u, 0xff0000u}) {
        EXPECT_TRUE(palette.contains(rgb)) << std::hex << rgb;
    }
    for (int id = 130; id <= 153; ++id) {
        const auto bytes = FindResource("bitmap", id);
        ASSERT_EQ(bytes.size(), 26664u) << id;
        for (std::size_t i = 0; i < header.size(); ++i) {
            EXPECT_EQ(Le32(bytes, 4 * i), header[i]) << "bitmap " << id << " field " << i;
        }
        EXPECT_TRUE(std::equal(first.begin() + 40, first.begin() + 1064, bytes.begin() + 40)) << id;
    }
}

TEST_F(BlockPictures, EachSpellsItsArrangementClockwise) {
    // A cell's shape, judged only by the colours in it.
    const auto classify = [](const Picture& p, const Box& cell) {
        std::set<std::uint32_t> colours;
        for (int y = cell.top; y <= cell.bottom; ++y) {
            for (int x = cell.left; x <= cell.right; ++x) {
                colours.insert(p.At(x, y));
            }
        }
        colours.erase(kGrey);
        colours.erase(kLightBlue);
        const std::uint32_t c = colours.size() == 1 ? *colours.begin() : 0;
        return c == kBlue ? 'c' : c == kGreen ? 'x' : c == kYellow ? 's' : c == kRed ? 't' : '?';
    };
    const auto spell = [&](const Picture& p) {
        std::string read;
        for (const Box& cell : kCells) {
            read += classify(p, cell);
        }
        return read;
    };
    for (int k = 0; k < kArrangementCount; ++k) {
        EXPECT_EQ(spell(Of(k)), kArrangementCodes[k]) << "arrangement " << k;
    }
    // Circle top left, cross top right, square bottom right, triangle bottom left.
    EXPECT_EQ(spell(LoadBitmapResource(133).value_or(Picture{})), "cxst");
}

TEST_F(BlockPictures, SquareCrossAndTriangleInEveryCell) {
    for (int k = 0; k < kArrangementCount; ++k) {
        for (int position = 0; position < 4; ++position) {
            SCOPED_TRACE(testing::Message() << "arrangement " << k << " position " << position);
            const char shape = kArrangementCodes[k][position];
            std::vector<int> redWidths;
            for (int y = 0; y < 48; ++y) {
                int red = 0, first = 48, last = -1;
                for (int x = 0; x < 48; ++x) {
                    const std::uint32_t c = InCell(k, position, x, y);
                    if (shape == 's') {
                        ASSERT_EQ(c, kYellow);
                    } else if (shape == 'x') {
                        const bool bar = (14 <= y && y <= 33) || (14 <= x && x <= 33);
                        ASSERT_EQ(c, bar ? kGreen : kGrey) << x << "," << y;
                    } else if (shape == 't' && c != kGrey) {
                        ASSERT_EQ(c, kRed);
                        ++red, first = std::min(first, x), last = std::max(last, x);
                    }
                }
                // One unbroken run per row, centred on the cell.
                EXPECT_TRUE(red == 0 || (red == last - first + 1 && first + last == 47)) << y;
                redWidths.push_back(red);
            }
            if (shape == 't') {
                EXPECT_EQ(redWidths[0], 2);
                for (int y = 2; y <= 45; ++y) {
                    EXPECT_EQ(redWidths[y], redWidths[y - 2] + 2) << y;
                }
                EXPECT_EQ(redWidths[45], 48);
                EXPECT_EQ(redWidths[46] + redWidths[47], 0);
            }
        }
    }
}

TEST_F(BlockPictures, CircleIsARoundDiscTouchingAllSides) {
    for (int k = 0; k < kArrangementCount; ++k) {
        SCOPED_TRACE(testing::Message() << "arrangement " << k);
        const int position = static_cast<int>(std::string(kArrangementCodes[k]).find('c'));
        const auto inDisc = [&](int x, int y) {
            return 0 <= x && x < 48 && 0 <= y && y < 48 && InCell(k, position, x, y) != kGrey;
        };
        int disc = 0, soft = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                const std::uint32_t c = InCell(k, position, x, y);
                ASSERT_TRUE(c == kBlue || c == kLightBlue || c == kGrey);
                ASSERT_EQ(c, InCell(k, position, 47 - x, y));
                ASSERT_EQ(c, InCell(k, position, x, 47 - y));
                const double r2 = (x - 23.5) * (x - 23.5) + (y - 23.5) * (y - 23.5);
                EXPECT_TRUE(r2 > 22.0 * 22.0 || c != kGrey) << "hole at " << x << "," << y;
                EXPECT_TRUE(r2 < 24.5 * 24.5 || c == kGrey) << "bulge at " << x << "," << y;
                disc += c != kGrey;
                if (c == kLightBlue) {
                    ++soft;
                    EXPECT_FALSE(inDisc(x - 1, y) && inDisc(x + 1, y) && inDisc(x, y - 1) &&
                                 inDisc(x, y + 1))
                        << "light blue off the rim at " << x << "," << y;
                }
            }
        }
        EXPECT_NEAR(disc, 1790, 30);
        EXPECT_TRUE(1 <= soft && soft <= 16) << soft;
        EXPECT_TRUE(inDisc(23, 0) && inDisc(23, 47) && inDisc(0, 23) && inDisc(47, 23));
    }
}

TEST_F(BlockPictures, EqualOutsideTheCellsWithGreyRingAndBands) {
    for (int k = 0; k < kArrangementCount; ++k) {
        for (int y = 0; y < 160; ++y) {
            for (int x = 0; x < 160; ++x) {
                const bool inCell = std::any_of(kCells.begin(), kCells.end(),
                                                [&](const Box& c) { return c.Contains(x, y); });
                ASSERT_TRUE(inCell || Of(k).At(x, y) == Of(0).At(x, y))
                    << k << ": " << x << "," << y;
                if (x == 0 || y == 0 || x >= 144 || y >= 144) {
                    ASSERT_EQ(Of(k).At(x, y), kGrey) << k << ": " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(BlockPictures, HotSpotsCoverTheirSymmetricArrowBoxesExactly) {
    const Picture& p = Of(0);
    // The glyph reaches the long sides of its box; the arrow's tips, on the
    // short sides (all four in a square box), keep a black margin. Each glyph
    // mirrors about the image's centre line across its length.
    const auto checkBox = [&](const Box& b, std::uint32_t glyph, bool checkOutside) {
        const int width = b.right - b.left + 1, height = b.bottom - b.top + 1;
        int glyphPixels = 0;
        for (int y = b.top - 1; y <= b.bottom + 1; ++y) {
            for (int x = b.left - 1; x <= b.right + 1; ++x) {
                const bool tipSide = (width <= height && (y == b.top || y == b.bottom)) ||
                                     (height <= width && (x == b.left || x == b.right));
                const std::uint32_t c = p.At(x, y);
                if (!b.Contains(x, y)) {
                    EXPECT_TRUE(!checkOutside || (c != kBlack && c != glyph)) << x << "," << y;
                } else if (tipSide) {
                    EXPECT_EQ(c, kBlack) << "margin at " << x << "," << y;
                } else {
                    EXPECT_TRUE(c == kBlack || c == glyph) << x << "," << y;
                    glyphPixels += c == glyph;
                    EXPECT_TRUE((height > width || c == p.At(159 - x, y)) &&
                                (width > height || c == p.At(x, 159 - y)))
                        << "asymmetric at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(glyphPixels, 0);
    };
    EXPECT_TRUE(Covered(0).left == 65 && Covered(0).top == 1);
    for (int i = 0; i < kArrowCount; ++i) {
        SCOPED_TRACE(testing::Message() << "arrow " << i);
        checkBox(Covered(i), i < 2 ? kMagenta : kWhite, i < 6);
    }
    // The four quarters tile the centre box.
    const Box ul = Covered(6), lr = Covered(9);
    EXPECT_TRUE(Covered(7).left == ul.right + 1 && Covered(8).top == ul.bottom + 1);
    EXPECT_TRUE(lr.left == ul.right + 1 && lr.top == ul.bottom + 1);
    checkBox({ul.left, ul.top, lr.right, lr.bottom}, kWhite, true);
}

}  // namespace
}  // namespace tessaform
