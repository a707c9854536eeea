// The generator's 8-bit bitmap writer, and the sixteen colours every palette opens with.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace tessaform::assetgen {

struct Rgb {
    std::uint8_t r, g, b;
};

// The sixteen colours of the classic display, first in every palette of the game,
// so a picture looks right even where a system maps colours to that fixed set.
inline constexpr std::array<Rgb, 16> kClassicColours = {{
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
}};

// A square 8-bit device-independent bitmap without file header, bottom row first.
// A palette of 256 entries is stored with "colours used" 0, as a full table; a
// shorter one says its size. `indexAt(x, y)` gives the palette index of a pixel,
// y from the top; the side must be a multiple of 4, so rows need no padding.
std::vector<std::uint8_t> EncodeDib(int side, std::span<const Rgb> palette,
                                    const std::function<std::uint8_t(int x, int y)>& indexAt);

}  // namespace tessaform::assetgen
