// The program's icon in two sizes: a blue disc holding a yellow square holding a
// red triangle holding a green cross, on magenta. Drawn pixel by pixel in the
// sixteen classic display colours, fully opaque, so every build makes the same bytes.

#include <array>
#include <cstdint>
#include <string>

#include "GeneratedResource.h"

namespace tessaform::assetgen {

namespace {

enum Ink : std::uint8_t {
    kGreen = 10,
    kRed = 9,
    kYellow = 11,
    kBlue = 12,
    kMagenta = 13,
};

struct Rgb {
    std::uint8_t r, g, b;
};

constexpr std::array<Rgb, 16> kPalette = {{
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

// Where each nested shape lies in one size of the icon; all bounds inclusive.
struct Design {
    int side;
    int squareFirst, squareLast;
    int triangleTop, triangleBottom;
    int crossBarFirst, crossBarLast;  // columns of the upright bar
    int crossTop, crossBottom;
    int crossArmFirst, crossArmLast;  // columns of the crossbar
    int crossArmTop, crossArmBottom;
};

constexpr Design kLarge{32, 6, 25, 7, 24, 15, 16, 14, 22, 12, 19, 17, 18};
constexpr Design kSmall{16, 3, 12, 4, 11, 7, 8, 7, 10, 6, 9, 8, 8};

bool InBox(int x, int y, int left, int top, int right, int bottom) {
    return left <= x && x <= right && top <= y && y <= bottom;
}

std::uint8_t InkAt(const Design& d, int x, int y) {
    // Doubled coordinates keep the disc's centre, between two pixels, integral.
    const int dx = 2 * x + 1 - d.side;
    const int dy = 2 * y + 1 - d.side;
    const int radius = d.side - 1;
    std::uint8_t ink = kMagenta;
    if (dx * dx + dy * dy <= radius * radius) {
        ink = kBlue;
    }
    if (InBox(x, y, d.squareFirst, d.squareFirst, d.squareLast, d.squareLast)) {
        ink = kYellow;
    }
    // Apex two pixels wide at the top, widening by one pixel each side every second row.
    const int centreLeft = d.side / 2 - 1;
    const int halfWidth = (y - d.triangleTop) / 2;
    if (y >= d.triangleTop && y <= d.triangleBottom && x >= centreLeft - halfWidth &&
        x <= centreLeft + 1 + halfWidth) {
        ink = kRed;
    }
    if (InBox(x, y, d.crossBarFirst, d.crossTop, d.crossBarLast, d.crossBottom) ||
        InBox(x, y, d.crossArmFirst, d.crossArmTop, d.crossArmLast, d.crossArmBottom)) {
        ink = kGreen;
    }
    return ink;
}

void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// An 8-bit bottom-up DIB without file header, with a palette of sixteen entries.
std::vector<std::uint8_t> EncodeIcon(const Design& d) {
    constexpr std::uint32_t kInfoHeaderSize = 40;
    // 16 and 32 are multiples of 4, so rows need no padding.
    const auto pixelBytes = static_cast<std::uint32_t>(d.side * d.side);
    std::vector<std::uint8_t> out;
    AppendLe32(out, kInfoHeaderSize);
    AppendLe32(out, static_cast<std::uint32_t>(d.side));
    AppendLe32(out, static_cast<std::uint32_t>(d.side));
    AppendLe16(out, 1);  // planes
    AppendLe16(out, 8);  // bits per pixel
    AppendLe32(out, 0);  // uncompressed
    AppendLe32(out, pixelBytes);
    AppendLe32(out, 0);
    AppendLe32(out, 0);
    AppendLe32(out, static_cast<std::uint32_t>(kPalette.size()));  // colours used
    AppendLe32(out, 0);
    for (const Rgb& c : kPalette) {
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = d.side - 1; y >= 0; --y) {
        for (int x = 0; x < d.side; ++x) {
            out.push_back(InkAt(d, x, y));
        }
    }
    return out;
}

}  // namespace

std::vector<GeneratedResource> MakeIcons() {
    return {
        {"ICON", kIconLargeId, EncodeIcon(kLarge), "icon_" + std::to_string(kIconLargeId) + ".dib"},
        {"ICON", kIconSmallId, EncodeIcon(kSmall), "icon_" + std::to_string(kIconSmallId) + ".dib"},
    };
}

}  // namespace tessaform::assetgen
