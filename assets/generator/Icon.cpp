// The program's icon in two sizes: a blue disc holding a yellow square holding a
// red triangle holding a green cross, on magenta. Drawn pixel by pixel in the
// sixteen classic display colours, fully opaque, so every build makes the same bytes.

#include <array>
#include <cstdint>
#include <string>

#include "DibWriter.h"
#include "GeneratedResource.h"

namespace tessaform::assetgen {

namespace {

enum Ink : std::uint8_t { kRed = 9, kGreen, kYellow, kBlue, kMagenta };

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

// Sixteen colours, as icons of the old screens had.
std::vector<std::uint8_t> EncodeIcon(const Design& d) {
    return EncodeDib(d.side, kClassicColours, [&d](int x, int y) { return InkAt(d, x, y); });
}

}  // namespace

std::vector<GeneratedResource> MakeIcons() {
    return {
        {"ICON", kIconLargeId, EncodeIcon(kLarge)},
        {"ICON", kIconSmallId, EncodeIcon(kSmall)},
    };
}

}  // namespace tessaform::assetgen
