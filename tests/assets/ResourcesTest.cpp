#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "Picture.h"
#include "Resources.h"

namespace tessaform {
namespace {

TEST(Resources, AreFoundByIdWithTheTypeInAnyCase) {
    const auto upper = FindResource("SOUND", 154);
    EXPECT_FALSE(upper.empty());
    EXPECT_EQ(FindResource("sound", 154).data(), upper.data());
    EXPECT_EQ(FindResource("Sound", 154).size(), upper.size());
    EXPECT_FALSE(FindResource("bitmap", 130).empty());
}

TEST(Resources, AnUnknownIdOrTypeFindsNothing) {
    EXPECT_TRUE(FindResource("SOUND", 153).empty()) << "153 is a picture";
    EXPECT_TRUE(FindResource("BITMAP", 154).empty()) << "154 is a sound";
    EXPECT_TRUE(FindResource("SOUND", 0).empty());
    EXPECT_TRUE(FindResource("SOUNDS", 154).empty());
    EXPECT_TRUE(FindResource("", 154).empty());
}

TEST(Resources, EveryPictureAndSoundOfTheGameIsBuiltIn) {
    for (int id = 130; id <= 153; ++id) {
        EXPECT_EQ(FindResource("BITMAP", id).size(), 26'664u) << id;
    }
    for (int id = 154; id <= 159; ++id) {
        EXPECT_FALSE(FindResource("SOUND", id).empty()) << id;
    }
}

// An 8-bit bitmap one row high with a colour table of the given entries.
std::vector<std::uint8_t> TinyBitmap(const std::vector<std::uint32_t>& colours,
                                     const std::vector<std::uint8_t>& indices) {
    std::vector<std::uint8_t> b(40, 0);
    const auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    };
    put32(0, 40);
    put32(4, static_cast<std::uint32_t>(indices.size()));
    put32(8, 1);
    b[12] = 1;  // planes
    b[14] = 8;  // bits per pixel
    put32(32, static_cast<std::uint32_t>(colours.size()));
    for (const std::uint32_t c : colours) {
        b.insert(b.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                           static_cast<std::uint8_t>(c >> 16), 0});
    }
    b.insert(b.end(), indices.begin(), indices.end());
    b.resize(b.size() + (4 - indices.size() % 4) % 4, 0);
    return b;
}

TEST(DecodeBitmap, AnIndexPastTheColourTableGivesOpaqueBlack) {
    const auto bytes = TinyBitmap({0xff0000, 0x00ff00}, {1, 5, 0});
    const auto picture = DecodeBitmap(bytes);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->At(0, 0), 0xff00ff00u);
    EXPECT_EQ(picture->At(1, 0), 0xff000000u) << "every pixel is opaque, as the screen's format is";
    EXPECT_EQ(picture->At(2, 0), 0xffff0000u);
}

TEST(DecodeBitmap, RefusesRowsThatTheBytesDoNotHold) {
    auto bytes = TinyBitmap({0xff0000}, {0, 0, 0, 0, 0});
    EXPECT_TRUE(DecodeBitmap(bytes).has_value());
    bytes.resize(bytes.size() - 1);
    EXPECT_FALSE(DecodeBitmap(bytes).has_value());
}

}  // namespace
}  // namespace tessaform
