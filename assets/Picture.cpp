// Decodes the 8-bit bitmaps of the block pictures and icons into pixels the screen can copy.
#include "Picture.h"

#include <algorithm>
#include <iterator>

#include "Resources.h"

namespace tessaform {

namespace {

std::uint32_t ReadLe32(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t ReadLe16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kMaxSide = 4096;

}  // namespace

std::optional<Picture> DecodeBitmap(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kInfoHeaderSize || ReadLe32(bytes, 0) != kInfoHeaderSize) {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(ReadLe32(bytes, 4));
    const auto rawHeight = static_cast<std::int32_t>(ReadLe32(bytes, 8));
    const std::uint16_t planes = ReadLe16(bytes, 12);
    const std::uint16_t bits = ReadLe16(bytes, 14);
    const std::uint32_t compression = ReadLe32(bytes, 16);
    const std::uint32_t colorsUsed = ReadLe32(bytes, 32);
    if (planes != 1 || bits != 8 || compression != 0 || width <= 0 || width > kMaxSide ||
        rawHeight == 0 || rawHeight < -kMaxSide || rawHeight > kMaxSide || colorsUsed > 256) {
        return std::nullopt;
    }
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const std::size_t paletteEntries = colorsUsed == 0 ? 256 : colorsUsed;
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) & ~std::size_t{3};
    const std::size_t pixelStart = kInfoHeaderSize + 4 * paletteEntries;
    if (bytes.size() < pixelStart + stride * height) {
        return std::nullopt;
    }

    // An index past the colour table is drawn black, and opaque like every pixel.
    std::uint32_t palette[256];
    std::fill(std::begin(palette), std::end(palette), 0xff000000u);
    for (std::size_t i = 0; i < paletteEntries; ++i) {
        const std::size_t at = kInfoHeaderSize + 4 * i;
        palette[i] = 0xff000000u | (bytes[at + 2] << 16) | (bytes[at + 1] << 8) | bytes[at];
    }

    Picture picture{width, height,
                    std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int y = 0; y < height; ++y) {
        const int storedRow = bottomUp ? height - 1 - y : y;
        const std::size_t rowStart = pixelStart + stride * storedRow;
        for (int x = 0; x < width; ++x) {
            picture.pixels[static_cast<std::size_t>(y) * width + x] = palette[bytes[rowStart + x]];
        }
    }
    return picture;
}

std::optional<Picture> LoadBitmapResource(int id) {
    return DecodeBitmap(FindResource(kBitmapType, id));
}

}  // namespace tessaform
