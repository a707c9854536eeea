// A decoded picture, and the reading of a built-in bitmap into one.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessaform {

// A decoded picture, top row first, one 0xffRRGGBB word a pixel: the layout a
// QImage of Format_RGB32 uses, so the screen can copy it without converting.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// An 8-bit uncompressed device-independent bitmap without file header, as the
// block pictures are stored; nothing for anything else or anything damaged.
std::optional<Picture> DecodeBitmap(std::span<const std::uint8_t> bytes);

// The bitmap resource with this id, decoded.
std::optional<Picture> LoadBitmapResource(int id);

}  // namespace tessaform
