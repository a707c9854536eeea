// A decoded picture, and the reading of a built-in bitmap into one.
#pragma once

#include <algorithm>
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
    // Narrows a copy of its top-left w x h pixels to what it has; false when that is nothing.
    bool Clip(int& w, int& h) const {
        w = std::min(w, width);
        h = std::min(h, height);
        return w > 0 && h > 0 && pixels.size() >= static_cast<std::size_t>(width) * height;
    }
};

// An 8-bit uncompressed device-independent bitmap without file header, as the
// block pictures are stored; nothing for anything else or anything damaged.
std::optional<Picture> DecodeBitmap(std::span<const std::uint8_t> bytes);

// The bitmap resource with this id, decoded.
std::optional<Picture> LoadBitmapResource(int id);

}  // namespace tessaform
