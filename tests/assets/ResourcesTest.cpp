#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tessaform
