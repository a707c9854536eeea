// The lookup of the pictures, sounds and icons built into the program.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tessaform {

// Resource types as the program names them; lookups ignore case.
inline constexpr std::string_view kBitmapType = "BITMAP";
inline constexpr std::string_view kSoundType = "SOUND";
inline constexpr std::string_view kIconType = "ICON";
// The program's icon: the large one for the window and the about box, the small one where
// a desktop wants less.
inline constexpr int kLargeIconId = 128;
inline constexpr int kSmallIconId = 129;

// The bytes of a resource built into the program; empty when there is none.
std::span<const std::uint8_t> FindResource(std::string_view type, int id);

}  // namespace tessaform
