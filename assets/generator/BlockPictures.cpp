// The 24 block pictures: four shapes in a 2-by-2 grid on grey, with the seven
// black arrow boxes every block shares. Drawn pixel by pixel into palette
// indices, so the bytes are the same on every build.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Arrangements.h"
#include "DibWriter.h"
#include "GeneratedResource.h"

namespace tessaform::assetgen {

namespace {

constexpr int kSide = 160;
constexpr int kCellSide = 48;
constexpr int kPaletteSize = 256;
// 160 is a multiple of 4, so rows need no padding.
constexpr std::uint32_t kPixelBytes = kSide * kSide;

// Palette indices. The first sixteen are the classic display colours, so the
// pictures look right even on a system that maps them to its own fixed set.
enum Ink : std::uint8_t {
    kBlack = 0,
    kGrey = 8,
    kRed = 9,
    kGreen = 10,
    kYellow = 11,
    kBlue = 12,
    kMagenta = 13,
    kWhite = 15,
    kLightBlue = 16,
};

// After the classic sixteen, the one colour of the disc's soft rim.
constexpr Rgb kLightBlueColour{128, 128, 255};

// The named colours; the rest of the table stays black, as nothing is drawn in it.
std::array<Rgb, kPaletteSize> MakePalette() {
    std::array<Rgb, kPaletteSize> palette{};
    std::copy(kClassicColours.begin(), kClassicColours.end(), palette.begin());
    palette[kLightBlue] = kLightBlueColour;
    return palette;
}

class Canvas {
public:
    Canvas() { pixels_.fill(kGrey); }

    void Set(int x, int y, Ink ink) { pixels_[static_cast<std::size_t>(y) * kSide + x] = ink; }

    // Inclusive on all four sides.
    void Fill(int left, int top, int right, int bottom, Ink ink) {
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                Set(x, y, ink);
            }
        }
    }

    std::uint8_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * kSide + x]; }

private:
    std::array<std::uint8_t, kPixelBytes> pixels_{};
};

// ---- Shapes, drawn relative to a cell's top-left pixel ----

// Compared in doubled coordinates so pixel centres stay integral. The radius
// is a little under 24: a full 24 leaves lone pixels bulging at the four
// extremes, this keeps the outermost rows eight pixels long.
constexpr int kDiscRadiusSquaredTimesFour = 2280;

bool InDisc(int x, int y) {
    const int dx = 2 * x - (kCellSide - 1);
    const int dy = 2 * y - (kCellSide - 1);
    return dx * dx + dy * dy <= kDiscRadiusSquaredTimesFour;
}

// The end pixels of the outermost rows and columns are softened, where the
// stair steps of the outline are longest.
bool OnDiscSoftEdge(int x, int y) {
    const bool outerRow = y == 0 || y == kCellSide - 1;
    const bool outerColumn = x == 0 || x == kCellSide - 1;
    const bool rowEnd = !InDisc(x - 1, y) || !InDisc(x + 1, y);
    const bool columnEnd = !InDisc(x, y - 1) || !InDisc(x, y + 1);
    return InDisc(x, y) && ((outerRow && rowEnd) || (outerColumn && columnEnd));
}

void DrawCircle(Canvas& canvas, int left, int top) {
    for (int y = 0; y < kCellSide; ++y) {
        for (int x = 0; x < kCellSide; ++x) {
            if (InDisc(x, y)) {
                canvas.Set(left + x, top + y, OnDiscSoftEdge(x, y) ? kLightBlue : kBlue);
            }
        }
    }
}

void DrawSquare(Canvas& canvas, int left, int top) {
    canvas.Fill(left, top, left + kCellSide - 1, top + kCellSide - 1, kYellow);
}

void DrawCross(Canvas& canvas, int left, int top) {
    constexpr int kBarFirst = 14;
    constexpr int kBarLast = 33;
    canvas.Fill(left, top + kBarFirst, left + kCellSide - 1, top + kBarLast, kGreen);
    canvas.Fill(left + kBarFirst, top, left + kBarLast, top + kCellSide - 1, kGreen);
}

void DrawTriangle(Canvas& canvas, int left, int top) {
    constexpr int kApexLeft = 23;
    constexpr int kBaseRow = 45;
    for (int row = 0; row <= kBaseRow; ++row) {
        // Sides step out on odd rows, so the base on row 45 spans the whole cell.
        const int first = kApexLeft - (row + 1) / 2;
        const int last = kCellSide - 1 - first;
        canvas.Fill(left + first, top + row, left + last, top + row, kRed);
    }
}

void DrawShape(Canvas& canvas, char letter, int left, int top) {
    switch (letter) {
        case 'c':
            DrawCircle(canvas, left, top);
            break;
        case 'x':
            DrawCross(canvas, left, top);
            break;
        case 's':
            DrawSquare(canvas, left, top);
            break;
        case 't':
            DrawTriangle(canvas, left, top);
            break;
        default:
            std::abort();  // the arrangement table holds only these four letters
    }
}

struct Point {
    int x, y;
};

// Top-left pixel of each cell, in the clockwise order of the code letters.
constexpr std::array<Point, 4> kCellOrigins = {{{16, 16}, {96, 16}, {96, 96}, {16, 96}}};

// ---- Arrows ----

// A double-headed arrow lying along its box: `along` runs from one tip to the
// other, `across` over the box's thickness. One pixel of black stays at each
// tip; the heads' bases reach the box's long sides; the shaft is four thick.
bool InStraightArrow(int along, int across, int length, int thickness) {
    const int fromTip = std::min(along, length - 1 - along) - 1;
    if (fromTip < 0) {
        return false;
    }
    const int headLength = thickness / 2;
    const int fromAxis =
        across < thickness / 2 ? thickness / 2 - 1 - across : across - thickness / 2;
    if (fromTip < headLength) {
        return fromAxis <= fromTip;
    }
    return fromAxis < 2;
}

enum class Lie { kHorizontal, kVertical };

struct ArrowBox {
    int left, top, right, bottom;  // inclusive
    Lie lie;
    Ink ink;
};

constexpr std::array<ArrowBox, 6> kStraightArrows = {{
    {65, 1, 94, 14, Lie::kHorizontal, kMagenta},
    {1, 65, 14, 94, Lie::kVertical, kMagenta},
    {67, 34, 92, 45, Lie::kHorizontal, kWhite},
    {67, 114, 92, 125, Lie::kHorizontal, kWhite},
    {34, 67, 45, 92, Lie::kVertical, kWhite},
    {114, 67, 125, 92, Lie::kVertical, kWhite},
}};

void DrawStraightArrow(Canvas& canvas, const ArrowBox& box) {
    canvas.Fill(box.left, box.top, box.right, box.bottom, kBlack);
    const int width = box.right - box.left + 1;
    const int height = box.bottom - box.top + 1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool ink = box.lie == Lie::kHorizontal ? InStraightArrow(x, y, width, height)
                                                         : InStraightArrow(y, x, height, width);
            if (ink) {
                canvas.Set(box.left + x, box.top + y, box.ink);
            }
        }
    }
}

constexpr int kCentreFirst = 65;
constexpr int kCentreLast = 94;
constexpr int kMirror = kSide - 1;  // x and 159 - x lie either side of the centre line

// The upper-left arm of the centre X, relative to its quarter's glyph area of
// 13 by 13 (x and y 66 to 78): a head in the corner, square to the diagonal,
// and a three-pixel shaft running to the dividing cross.
bool InCentreArm(int dx, int dy) {
    constexpr int kHeadSize = 7;
    return dx + dy <= kHeadSize || std::abs(dx - dy) <= 1;
}

void DrawCentreX(Canvas& canvas) {
    canvas.Fill(kCentreFirst, kCentreFirst, kCentreLast, kCentreLast, kBlack);
    constexpr int kArmSide = 13;
    for (int dy = 0; dy < kArmSide; ++dy) {
        for (int dx = 0; dx < kArmSide; ++dx) {
            if (!InCentreArm(dx, dy)) {
                continue;
            }
            const int x = kCentreFirst + 1 + dx;
            const int y = kCentreFirst + 1 + dy;
            canvas.Set(x, y, kWhite);
            canvas.Set(kMirror - x, y, kWhite);
            canvas.Set(x, kMirror - y, kWhite);
            canvas.Set(kMirror - x, kMirror - y, kWhite);
        }
    }
}

// ---- Encoding ----

std::vector<std::uint8_t> EncodeBlock(const Canvas& canvas,
                                      const std::array<Rgb, kPaletteSize>& palette) {
    return EncodeDib(kSide, palette, [&canvas](int x, int y) { return canvas.At(x, y); });
}

Canvas DrawBlock(const char* code) {
    Canvas canvas;
    for (std::size_t position = 0; position < kCellOrigins.size(); ++position) {
        DrawShape(canvas, code[position], kCellOrigins[position].x, kCellOrigins[position].y);
    }
    for (const ArrowBox& box : kStraightArrows) {
        DrawStraightArrow(canvas, box);
    }
    DrawCentreX(canvas);
    return canvas;
}

}  // namespace

std::vector<GeneratedResource> MakeBlockPictures() {
    const std::array<Rgb, kPaletteSize> palette = MakePalette();
    std::vector<GeneratedResource> pictures;
    for (std::size_t k = 0; k < kArrangementCodes.size(); ++k) {
        const int id = kPictureResourceIds[k];
        pictures.push_back({"BITMAP", id, EncodeBlock(DrawBlock(kArrangementCodes[k]), palette)});
    }
    // In id order, so the embedded table reads 130 to 153.
    std::sort(pictures.begin(), pictures.end(),
              [](const GeneratedResource& a, const GeneratedResource& b) { return a.id < b.id; });
    return pictures;
}

}  // namespace tessaform::assetgen
