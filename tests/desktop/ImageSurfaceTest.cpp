// The screen's device context: the pixel rules the layout rests on, text, and what was drawn on.
#include "ImageSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessaform {
namespace {

using Rows = std::vector<std::string>;

// One string a row, a letter a pixel, '.' for the grey it starts with.
Rows Art(const QImage& image) {
    const std::map<QRgb, char> letters = {
        {kGrey.Argb(), '.'},   {kRed.Argb(), 'r'},     {kGreen.Argb(), 'g'}, {kBlue.Argb(), 'b'},
        {kYellow.Argb(), 'y'}, {kMagenta.Argb(), 'm'}, {kBlack.Argb(), 'k'}, {kWhite.Argb(), 'w'}};
    Rows rows(image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            rows[y] += letters.contains(image.pixel(x, y)) ? letters.at(image.pixel(x, y)) : '?';
        }
    }
    return rows;
}

TEST(PainterDeviceContext, FillsAndOutlinesRectanglesWithoutTheirRightAndBottomEdges) {
    ImageSurface surface(8, 8);
    auto dc = surface.OpenClientDC();  // a black pen and a white brush to begin with
    dc->FillRect({0, 0, 2, 2}, kRed), dc->FillRect({7, 1, 7, 3}, kRed);
    dc->FillRect({-3, 3, 2, 4}, kBlue), dc->Rectangle({3, 0, 7, 4});
    dc->SelectPen(kBlue), dc->SelectBrush(kYellow);
    dc->Rectangle({-1, 4, 3, 9}), dc->Rectangle({5, 5, 5, 7}), dc->Rectangle({5, 5, 9, 6});
    // Pixels off the image are not drawn, nor wrapped onto the next row.
    dc->SetPixel(8, 6, kRed), dc->SetPixel(-1, 7, kRed), dc->SetPixel(0, 8, kRed);
    dc->SetPixel(7, 7, kRed);
    EXPECT_EQ(Art(surface.Image()), (Rows{"rr.kkkk.", "rr.kwwk.", "...kwwk.", "bb.kkkk.",
                                          "bbb.....", "yyb..bbb", "yyb.....", "yyb....r"}));
}

TEST(PainterDeviceContext, DrawsLinesWithoutTheirEndPointsAndCopiesPicturesClipped) {
    ImageSurface surface(8, 8);
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
    EXPECT_EQ(Art(surface.Image()), (Rows{"rrr...rr", "...rr..r", "rrr.r.r.", "....rrr.",
                                          "gb.rg...", "mw.ymr..", ".....y..", "......rg"}));
}

TEST(PainterDeviceContext, PlacesTextInItsColourOnAWhiteCellOrAloneWhenTransparent) {
    ImageSurface opaque(200, 60), clear(200, 60);
    const auto onWhite = opaque.OpenClientDC(), alone = clear.OpenClientDC();
    alone->SetTransparentBackground();
    const QFontMetrics& font = ResolveFont(kPanelFont).metrics;
    const int w = font.horizontalAdvance("Net Score"), h = font.height();
    // The cells: at the point given, centred in a box 6 wider and 4 taller, flush right.
    const QRect cells[] = {{10, 2, w, h}, {13, 22, w, h}, {190 - w, 40, w, h}};
    for (DeviceContext* dc : {onWhite.get(), alone.get()}) {
        dc->SelectFont(kPanelFont), dc->SetTextColor(kRed), dc->TextOut(10, 2, "Net Score");
        dc->DrawText("Net Score", {10, 20, 16 + w, 24 + h}, kDtSingleLine | kDtVCenter | kDtCenter);
        dc->DrawText("Net Score", {0, 40, 190, 40 + h}, kDtSingleLine | kDtVCenter | kDtRight);
    }
    int ink = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool red = clear.Image().pixel(x, y) == kRed.Argb();
            const bool cell = std::ranges::any_of(cells, [&](QRect c) { return c.contains(x, y); });
            const Rgb opaqueColour = red ? kRed : cell ? kWhite : kGrey;
            ASSERT_TRUE(red || clear.Image().pixel(x, y) == kGrey.Argb())
                << "smoothed at " << x << "," << y;
            ASSERT_EQ(opaque.Image().pixel(x, y), opaqueColour.Argb()) << "at " << x << "," << y;
            ink += red;
        }
    }
    EXPECT_GT(ink, 60);
}

TEST(ImageSurface, ReportsTheAreaDrawnOnOnceWithinTheImage) {
    ImageSurface surface(300, 200);
    EXPECT_EQ(surface.TakeDirty(), QRect(0, 0, 300, 200)) << "a new image shows whole";
    auto dc = surface.OpenClientDC();
    dc->SetPixel(5, 6, kBlue), dc->SetPixel(400, 6, kBlue);
    dc->FillRect({250, 150, 400, 400}, kRed);
    dc->BitBlt(-1, 198, 3, 2, Picture{3, 2, std::vector<std::uint32_t>(6, kGreen.Argb())});
    dc->DrawText("01:45", {84, 1, 129, 18}, kDtSingleLine | kDtVCenter | kDtCenter);
    EXPECT_EQ(surface.TakeDirty(), QRect(QPoint(0, 1), QPoint(299, 199)));
    EXPECT_EQ(surface.TakeDirty(), QRect()) << "taken once";
    dc->SetPixel(9, 20, kBlue);
    EXPECT_EQ(surface.TakeDirty(), QRect(9, 20, 1, 1));
    dc->TextOut(20, 60, "Game 1");
    EXPECT_EQ(surface.TakeDirty().topLeft(), QPoint(20, 60)) << "the text's white cell";
    surface.Resize(20, 10), dc->SetPixel(3, 4, kBlue);
    EXPECT_EQ(surface.Image().pixel(3, 4), kBlue.Argb()) << "a context open across a resize";
}

}  // namespace
}  // namespace tessaform
