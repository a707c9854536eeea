// The screen's device context: the pixel rules the layout rests on, text, and what was drawn on.
#include "PixelSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessaform {

using Rows = std::vector<std::string>;

// One string a row, a letter a pixel, '.' for the grey it starts with.
static Rows Art(const PixelSurface& image) {
    const std::map<std::uint32_t, char> letters = {
        {kGrey.Argb(), '.'},   {kRed.Argb(), 'r'},     {kGreen.Argb(), 'g'}, {kBlue.Argb(), 'b'},
        {kYellow.Argb(), 'y'}, {kMagenta.Argb(), 'm'}, {kBlack.Argb(), 'k'}, {kWhite.Argb(), 'w'}};
    Rows rows(image.Height());
    for (int i = 0; i < image.Width() * image.Height(); ++i) {
        const std::uint32_t pixel = image.Pixels()[i];
        rows[i / image.Width()] += letters.contains(pixel) ? letters.at(pixel) : '?';
    }
    return rows;
}

// A font of bars: every character but the blank one pixel wide and two high on the baseline,
// two apart, in a cell of three.
static FontSource bars([](const FontSpec&) {
    std::vector<std::uint8_t> bytes = {2, 3};
    for (char c = GlyphFont::kFirst; c <= GlyphFont::kLast; ++c) {
        bytes.insert(bytes.end(), {2, 0, 254, 1, 2, std::uint8_t(c == ' ' ? 0 : 0xc0)});
    }
    return GlyphFont(bytes);
});

TEST(PixelDeviceContext, FillsAndOutlinesRectanglesWithoutTheirRightAndBottomEdges) {
    PixelSurface surface(8, 8, bars);
    auto dc = surface.OpenClientDC();  // a black pen and a white brush to begin with
    dc->FillRect({0, 0, 2, 2}, kRed), dc->FillRect({7, 1, 7, 3}, kRed);
    dc->FillRect({-3, 3, 2, 4}, kBlue), dc->Rectangle({3, 0, 7, 4});
    dc->SelectPen(kBlue), dc->SelectBrush(kYellow);
    dc->Rectangle({-1, 4, 3, 9}), dc->Rectangle({5, 5, 5, 7}), dc->Rectangle({5, 5, 9, 6});
    // Pixels off the image are not drawn, nor wrapped onto the next row.
    dc->SetPixel(8, 6, kRed), dc->SetPixel(-1, 7, kRed), dc->SetPixel(0, 8, kRed);
    dc->SetPixel(7, 7, kRed);
    EXPECT_EQ(Art(surface), (Rows{"rr.kkkk.", "rr.kwwk.", "...kwwk.", "bb.kkkk.", "bbb.....",
                                  "yyb..bbb", "yyb.....", "yyb....r"}));
}

TEST(PixelDeviceContext, DrawsLinesWithoutTheirEndPointsAndCopiesPicturesClipped) {
    PixelSurface surface(8, 8, bars);
    auto dc = surface.OpenClientDC();
    dc->SelectPen(kRed);
    dc->MoveTo(0, 0), dc->LineTo(4, 1), dc->LineTo(4, 3), dc->LineTo(7, 3);
    // An exact half goes to the upper or the left pixel, whichever way the line runs.
    dc->MoveTo(7, 0), dc->LineTo(5, 1), dc->MoveTo(7, 1), dc->LineTo(6, 3);
    dc->MoveTo(2, 2), dc->LineTo(-3, 2);
    // A copy takes the picture's top-left part, as much as fits; a picture short of the
    // pixels it claims is not copied.
    const std::vector<std::uint32_t> six = {kRed.Argb(),    kGreen.Argb(),   kBlue.Argb(),
                                            kYellow.Argb(), kMagenta.Argb(), kWhite.Argb()};
    const Picture p{3, 2, six};
    dc->BitBlt(-1, 4, 3, 2, p), dc->BitBlt(3, 4, 2, 2, p), dc->BitBlt(5, 5, 1, 5, p);
    dc->BitBlt(6, 7, 3, 2, p), dc->BitBlt(0, 6, 3, 2, Picture{3, 2, {kRed.Argb()}});
    EXPECT_EQ(Art(surface), (Rows{"rrr...rr", "...rr..r", "rrr.r.r.", "....rrr.", "gb.rg...",
                                  "mw.ymr..", ".....y..", "......rg"}));
}

// Text in its colour, alone when transparent, otherwise on a white cell: from its point, centred
// in its box rounded down (and upright on a single line), or flush right; clipped to its box;
// broken between words, a word too wide standing alone.
TEST(PixelDeviceContext, PlacesTextOnAWhiteCellOrAloneClippedToItsBox) {
    PixelSurface surface(10, 8, bars);
    const auto dc = surface.OpenClientDC();
    dc->SetTextColor(kRed), dc->TextOut(1, 0, "ab");
    dc->DrawText("a", {0, 3, 5, 8}, kDtSingleLine | kDtVCenter | kDtCenter);
    dc->SetTransparentBackground(), dc->DrawText("abcd", {5, 6, 10, 8}, kDtSingleLine | kDtRight);
    dc->DrawText("ab  cdef", {5, 0, 10, 6}, kDtWordBreak | kDtCenter);
    EXPECT_EQ(Art(surface), (Rows{".rwrwr.r..", ".rwrwr.r..", ".wwww.....", ".....r.r.r",
                                  ".rw..r.r.r", ".rw.......", ".ww...r.r.", "......r.r."}));
}

TEST(PixelSurface, ReportsTheAreaDrawnOnOnceWithinItself) {
    PixelSurface surface(300, 200, bars);
    EXPECT_EQ(surface.TakeDirty(), (Rect{0, 0, 300, 200})) << "a new surface shows whole";
    auto dc = surface.OpenClientDC();
    dc->SetPixel(5, 6, kBlue), dc->SetPixel(400, 6, kBlue);
    dc->FillRect({250, 150, 400, 400}, kRed);
    dc->BitBlt(-1, 198, 3, 2, Picture{3, 2, std::vector<std::uint32_t>(6, kGreen.Argb())});
    dc->DrawText("01:45", {84, 1, 129, 18}, kDtSingleLine | kDtVCenter | kDtCenter);
    EXPECT_EQ(surface.TakeDirty(), (Rect{0, 1, 300, 200}));
    EXPECT_EQ(surface.TakeDirty(), Rect{}) << "taken once";
    dc->SetPixel(9, 20, kBlue);
    EXPECT_EQ(surface.TakeDirty(), (Rect{9, 20, 10, 21}));
    dc->TextOut(20, 60, "Game 1");
    EXPECT_EQ(surface.TakeDirty(), (Rect{20, 60, 300, 63})) << "a line's cell, to the right edge";
    surface.Resize(20, 10), dc->SetPixel(3, 4, kBlue);
    EXPECT_EQ(surface.Pixels()[4 * 20 + 3], kBlue.Argb()) << "a context open across a resize";
}

}  // namespace tessaform
