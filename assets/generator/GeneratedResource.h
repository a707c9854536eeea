// What the asset generator makes: the block pictures, the sounds and the icon, as resources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaform::assetgen {

// One resource the generator makes, as it will be embedded in the program.
struct GeneratedResource {
    std::string type;  // "BITMAP", "SOUND", "ICON"
    int id = 0;
    std::vector<std::uint8_t> bytes;
};

// Bitmaps 130 to 153: one picture of each arrangement.
std::vector<GeneratedResource> MakeBlockPictures();

// Sounds 154 to 159, each the complete image of a RIFF WAVE file.
std::vector<GeneratedResource> MakeSounds();

// The program's icon, 32 by 32 and 16 by 16, as 8-bit bitmaps of type "ICON".
inline constexpr int kIconLargeId = 128;
inline constexpr int kIconSmallId = 129;
std::vector<GeneratedResource> MakeIcons();

}  // namespace tessaform::assetgen
