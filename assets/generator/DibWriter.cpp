// Writes a square 8-bit bitmap byte by byte: header, palette, then the rows from the bottom.
#include "DibWriter.h"

#include "Bytes.h"

namespace tessaform::assetgen {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kFullPalette = 256;

}  // namespace

std::vector<std::uint8_t> EncodeDib(int side, std::span<const Rgb> palette,
                                    const std::function<std::uint8_t(int x, int y)>& indexAt) {
    const auto pixelBytes = static_cast<std::uint32_t>(side) * static_cast<std::uint32_t>(side);
    std::vector<std::uint8_t> out;
    out.reserve(kInfoHeaderSize + 4 * palette.size() + pixelBytes);
    PutLe32(out, kInfoHeaderSize);
    PutLe32(out, static_cast<std::uint32_t>(side));  // width
    PutLe32(out, static_cast<std::uint32_t>(side));  // height, positive: bottom row first
    PutLe16(out, 1);                                 // planes
    PutLe16(out, 8);                                 // bits per pixel
    PutLe32(out, 0);                                 // uncompressed
    PutLe32(out, pixelBytes);
    PutLe32(out, 0);  // horizontal resolution
    PutLe32(out, 0);  // vertical resolution
    PutLe32(out, palette.size() == kFullPalette ? 0 : static_cast<std::uint32_t>(palette.size()));
    PutLe32(out, 0);  // important colours
    for (const Rgb& c : palette) {
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = side - 1; y >= 0; --y) {
        for (int x = 0; x < side; ++x) {
            out.push_back(indexAt(x, y));
        }
    }
    return out;
}

}  // namespace tessaform::assetgen
