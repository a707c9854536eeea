// Writes a square 8-bit bitmap byte by byte: header, palette, then the rows from the bottom.
#include "DibWriter.h"

namespace tessaform::assetgen {

namespace {

void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kFullPalette = 256;

}  // namespace

std::vector<std::uint8_t> EncodeDib(int side, std::span<const Rgb> palette,
                                    const std::function<std::uint8_t(int x, int y)>& indexAt) {
    const auto pixelBytes = static_cast<std::uint32_t>(side) * static_cast<std::uint32_t>(side);
    std::vector<std::uint8_t> out;
    out.reserve(kInfoHeaderSize + 4 * palette.size() + pixelBytes);
    AppendLe32(out, kInfoHeaderSize);
    AppendLe32(out, static_cast<std::uint32_t>(side));  // width
    AppendLe32(out, static_cast<std::uint32_t>(side));  // height, positive: bottom row first
    AppendLe16(out, 1);                                 // planes
    AppendLe16(out, 8);                                 // bits per pixel
    AppendLe32(out, 0);                                 // uncompressed
    AppendLe32(out, pixelBytes);
    AppendLe32(out, 0);  // horizontal resolution
    AppendLe32(out, 0);  // vertical resolution
    AppendLe32(out,
               palette.size() == kFullPalette ? 0 : static_cast<std::uint32_t>(palette.size()));
    AppendLe32(out, 0);  // important colours
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
