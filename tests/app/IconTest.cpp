// The program's icon as the generator makes it and the window shows it.

#include <gtest/gtest.h>

#include <set>

#include "AppFixture.h"
#include "AppIcon.h"
#include "Picture.h"
#include "Resources.h"

namespace tessaform {
namespace {

constexpr std::uint32_t kMagenta = 0xffff00ff;
constexpr std::uint32_t kBlue = 0xff0000ff;
constexpr std::uint32_t kYellow = 0xffffff00;
constexpr std::uint32_t kRed = 0xffff0000;
constexpr std::uint32_t kGreen = 0xff00ff00;

Picture Icon(int id) {
    std::optional<Picture> picture = DecodeBitmap(FindResource(kIconType, id));
    if (!picture) {
        ADD_FAILURE() << "icon " << id << " missing or not decodable";
        return {};
    }
    return *picture;
}

std::set<std::uint32_t> Colours(const Picture& p) {
    return {p.pixels.begin(), p.pixels.end()};
}

TEST(Icon, LargeIsADiscHoldingASquareHoldingATriangleHoldingACrossOnMagenta) {
    const Picture icon = Icon(kLargeIconId);
    ASSERT_EQ(icon.width, 32);
    ASSERT_EQ(icon.height, 32);
    for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}}) {
        EXPECT_EQ(icon.At(x, y), kMagenta) << x << "," << y;
    }
    // Walking down the middle column from the top: each shape inside the last.
    EXPECT_EQ(icon.At(16, 2), kBlue);
    EXPECT_EQ(icon.At(16, 6), kYellow);
    EXPECT_EQ(icon.At(16, 10), kRed);
    EXPECT_EQ(icon.At(16, 20), kGreen);
    EXPECT_EQ(icon.At(16, 24), kRed);
    EXPECT_EQ(icon.At(16, 25), kYellow);
    EXPECT_EQ(icon.At(16, 29), kBlue);
    // Across the crossbar: red triangle either side of the cross, yellow outside it.
    EXPECT_EQ(icon.At(8, 18), kYellow);
    EXPECT_EQ(icon.At(11, 18), kRed);
    EXPECT_EQ(icon.At(12, 18), kGreen);
    EXPECT_EQ(icon.At(19, 18), kGreen);
    EXPECT_EQ(icon.At(20, 18), kRed);
    // The picture is symmetric about its vertical centre line.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(icon.At(x, y), icon.At(31 - x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(Colours(icon), (std::set{kMagenta, kBlue, kYellow, kRed, kGreen}));
}

TEST(Icon, SmallHasTheSameFiveColoursNestedTheSameWay) {
    const Picture icon = Icon(kSmallIconId);
    ASSERT_EQ(icon.width, 16);
    ASSERT_EQ(icon.height, 16);
    EXPECT_EQ(icon.At(0, 0), kMagenta);
    EXPECT_EQ(icon.At(8, 1), kBlue);
    EXPECT_EQ(icon.At(8, 3), kYellow);
    EXPECT_EQ(icon.At(8, 5), kRed);
    EXPECT_EQ(icon.At(8, 9), kGreen);
    EXPECT_EQ(Colours(icon), (std::set{kMagenta, kBlue, kYellow, kRed, kGreen}));
}

TEST(Icon, StoredWithASixteenColourPalette) {
    const auto bytes = FindResource(kIconType, kLargeIconId);
    ASSERT_GE(bytes.size(), 40u);
    const std::uint32_t coloursUsed = bytes[32] | (bytes[33] << 8);
    EXPECT_EQ(coloursUsed, 16u);
    EXPECT_EQ(bytes.size(), 40u + 16 * 4 + 32 * 32);
}

TEST(Icon, IsTheMainWindowsInBothSizes) {
    testing::RunningApp run;
    const QList<QSize> sizes = run.Frame().windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    const QImage shown = run.Frame().windowIcon().pixmap(QSize(32, 32)).toImage();
    EXPECT_EQ(shown.pixel(16, 20), kGreen);
}

}  // namespace
}  // namespace tessaform
