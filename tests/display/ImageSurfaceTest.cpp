#include "ImageSurface.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <set>
#include <string>
#include <utility>

namespace tessaform {
namespace {

constexpr QRgb kGreyPixel = 0xff808080;
constexpr Rect kAll{0, 0, 1 << 16, 1 << 16};
using Pixels = std::set<std::pair<int, int>>;

QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kGreyPixel);
    return image;
}

Pixels PixelsOf(const QImage& image, Rgb color, Rect within = kAll) {
    Pixels found;
    for (int y = std::max(within.top, 0); y < std::min(within.bottom, image.height()); ++y) {
        for (int x = std::max(within.left, 0); x < std::min(within.right, image.width()); ++x) {
            if (image.pixel(x, y) == color.Argb()) {
                found.insert({x, y});
            }
        }
    }
    return found;
}

int Count(const QImage& image, Rgb color, Rect within = kAll) {
    return static_cast<int>(PixelsOf(image, color, within).size());
}

// Bounding box of the pixels no longer grey; {0, 0, 0, 0} when there are none.
Rect Painted(const QImage& image, Rect within = kAll) {
    Rect box{within.right, within.bottom, within.left, within.top};
    for (int y = std::max(within.top, 0); y < std::min(within.bottom, image.height()); ++y) {
        for (int x = std::max(within.left, 0); x < std::min(within.right, image.width()); ++x) {
            if (image.pixel(x, y) != kGreyPixel) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
            }
        }
    }
    return box.right > box.left ? box : Rect{};
}

Picture Numbered(int width, int height) {
    Picture picture{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        picture.pixels.push_back(0xff000000u | static_cast<std::uint32_t>(i * 7919 % 0xffffff));
    }
    return picture;
}

TEST(ImageDeviceContextShapes, FillRectAndRectangleLeaveOutRightAndBottom) {
    QImage image = Canvas(20, 20);
    ImageDeviceContext dc(image);
    dc.FillRect({2, 3, 7, 9}, kRed);
    EXPECT_EQ(Count(image, kRed), 5 * 6);
    EXPECT_EQ(Painted(image), (Rect{2, 3, 7, 9}));

    image = Canvas(20, 20);
    dc.SelectPen(kBlue);
    dc.SelectBrush(kYellow);
    dc.Rectangle({3, 4, 13, 10});
    EXPECT_EQ(Painted(image), (Rect{3, 4, 13, 10}));
    EXPECT_EQ(Count(image, kBlue), 2 * 10 + 2 * 4);
    EXPECT_EQ(Count(image, kYellow, {4, 5, 12, 9}), 8 * 4);
}

TEST(ImageDeviceContextShapes, LineToLeavesOutItsEndPointAndMovesOn) {
    QImage image = Canvas(20, 20);
    ImageDeviceContext dc(image);
    dc.SelectPen(kRed);
    dc.MoveTo(2, 5);
    dc.LineTo(10, 5);
    dc.LineTo(10, 12);
    dc.LineTo(4, 12);
    EXPECT_EQ(Count(image, kRed), 8 + 7 + 6);
    EXPECT_EQ(Count(image, kRed, {2, 5, 10, 6}), 8);
    EXPECT_EQ(Count(image, kRed, {10, 5, 11, 12}), 7);
    EXPECT_EQ(Count(image, kRed, {5, 12, 11, 13}), 6);

    // Exact halves go to the upper or the left pixel, whichever way the line runs.
    image = Canvas(20, 20);
    dc.MoveTo(0, 0);
    dc.LineTo(4, 1);
    dc.MoveTo(4, 4);
    dc.LineTo(0, 3);
    dc.MoveTo(10, 0);
    dc.LineTo(11, 4);
    dc.LineTo(15, 8);
    const Pixels ties{{0, 0},  {1, 0},  {2, 0},  {3, 1},  {4, 4},  {3, 4},  {2, 3},  {1, 3},
                      {10, 0}, {10, 1}, {10, 2}, {11, 3}, {11, 4}, {12, 5}, {13, 6}, {14, 7}};
    EXPECT_EQ(PixelsOf(image, kRed), ties);
}

TEST(ImageDeviceContextShapes, BlockFrameIsTheRingAndABlitCoversIt) {
    QImage image = Canvas(200, 200);
    const Rect block{20, 30, 180, 190};
    ImageDeviceContext dc(image);
    dc.SelectPen(kGreen);
    dc.MoveTo(block.left, block.top);
    dc.LineTo(block.right - 1, block.top);
    dc.LineTo(block.right - 1, block.bottom - 1);
    dc.LineTo(block.left, block.bottom - 1);
    dc.LineTo(block.left, block.top);
    EXPECT_EQ(Count(image, kGreen), 636);
    EXPECT_EQ(Painted(image), block);
    EXPECT_EQ(Painted(image, {21, 31, 179, 189}), Rect{});

    const Picture picture = Numbered(160, 160);
    dc.BitBlt(block.left, block.top, 160, 160, picture);
    int mismatches = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool inside = x >= 20 && x < 180 && y >= 30 && y < 190;
            mismatches += image.pixel(x, y) != (inside ? picture.At(x - 20, y - 30) : kGreyPixel);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ImageDeviceContextShapes, DrawingOffTheEdgesIsClippedWithoutWrapping) {
    QImage image = Canvas(30, 20);
    ImageDeviceContext dc(image);
    dc.SetPixel(30, 0, kRed);
    dc.SetPixel(-1, 1, kRed);
    dc.SetPixel(0, 20, kRed);
    dc.SelectPen(kRed);
    dc.MoveTo(-10, -10);
    dc.LineTo(-10, 40);
    dc.LineTo(50, 40);
    EXPECT_EQ(Painted(image), Rect{});
    dc.SetPixel(29, 19, kRed);
    EXPECT_EQ(Painted(image), (Rect{29, 19, 30, 20}));

    dc.MoveTo(-10, 5);
    dc.LineTo(40, 5);
    EXPECT_EQ(Count(image, kRed, {0, 5, 30, 6}), 30);

    const Picture picture = Numbered(10, 10);
    dc.BitBlt(-3, 15, 10, 10, picture);
    dc.BitBlt(25, -4, 10, 10, picture);
    EXPECT_EQ(image.pixel(0, 15), picture.At(3, 0));
    EXPECT_EQ(image.pixel(6, 19), picture.At(9, 4));
    EXPECT_EQ(image.pixel(29, 5), picture.At(4, 9));
    EXPECT_EQ(Painted(image, {0, 6, 30, 15}), Rect{});
}

TEST(ImageSurfaceTest, ContextsStartFreshAndShowNowCallsTheOwner) {
    ImageSurface surface(40, 30);
    EXPECT_EQ(surface.ClientRect(), (Rect{0, 0, 40, 30}));
    EXPECT_EQ(Painted(surface.Image()), Rect{});

    auto first = surface.OpenClientDC();
    first->SelectPen(kRed);
    first->SelectBrush(kBlue);
    first->Rectangle({0, 0, 10, 10});
    surface.OpenClientDC()->Rectangle({20, 0, 30, 10});
    EXPECT_EQ(Count(surface.Image(), kBlack, {20, 0, 30, 10}), 36);
    EXPECT_EQ(Count(surface.Image(), kWhite, {20, 0, 30, 10}), 64);

    int shown = 0;
    surface.SetShowCallback([&] { ++shown; });
    surface.ShowNow();
    surface.ShowNow();
    EXPECT_EQ(shown, 2);

    surface.Resize(50, 20);
    EXPECT_EQ(surface.ClientRect(), (Rect{0, 0, 50, 20}));
    EXPECT_EQ(Painted(surface.Image()), Rect{});
}

TEST(ImageDeviceContextText, FontsHaveTheCellHeightsAskedFor) {
    EXPECT_NEAR(ResolveFont(kDefaultFont).metrics.height(), 16, 1);
    EXPECT_NEAR(ResolveFont(kPanelFont).metrics.height(), 17, 1);
    EXPECT_NEAR(ResolveFont(kBannerFont).metrics.height(), 64, 2);

    const ResolvedFont& courier = ResolveFont({"Courier New", 17, 400, false});
    EXPECT_TRUE(QFontInfo(courier.font).fixedPitch());
    for (QChar c : QStringLiteral("iW.M0 l")) {
        EXPECT_EQ(courier.metrics.horizontalAdvance(c), courier.metrics.horizontalAdvance('W'));
    }
    // Widths add up character by character, as GDI's do.
    QImage image = Canvas(10, 10);
    ImageDeviceContext dc(image);
    const std::string text = "Match Score -24190 Time Left 01:45";
    int sum = 0;
    for (char c : text) {
        sum += dc.TextWidth(std::string(1, c));
    }
    EXPECT_EQ(dc.TextWidth(text), sum);
}

TEST(ImageDeviceContextText, SingleLinesAreCentredOrRightAlignedAndClipped) {
    // In opaque mode the white cell shows exactly where the text was placed.
    QImage image = Canvas(300, 60);
    ImageDeviceContext dc(image);
    const Rect box{40, 10, 200, 41};
    dc.DrawText("  -24190", box, kDtSingleLine | kDtVCenter | kDtCenter);
    const Rect cell = Painted(image);
    EXPECT_NEAR(cell.left - box.left, box.right - cell.right, 1);
    EXPECT_NEAR(cell.top - box.top, box.bottom - cell.bottom, 1);
    EXPECT_EQ(cell.Width(), dc.TextWidth("  -24190"));

    image = Canvas(300, 60);
    dc.SetTransparentBackground();
    dc.DrawText("Match Score", box, kDtSingleLine | kDtVCenter | kDtRight);
    const Rect ink = Painted(image);
    EXPECT_GE(ink.right, box.right - 3);
    EXPECT_LE(ink.right, box.right);
    EXPECT_GT(ink.left, box.left);

    image = Canvas(300, 60);
    dc.DrawText("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", {100, 20, 140, 40}, kDtSingleLine);
    const Rect clipped = Painted(image);
    EXPECT_EQ(clipped.left, 100);
    EXPECT_EQ(clipped.right, 140);
}

TEST(ImageDeviceContextText, WordBreakMakesCentredLinesFromTheTop) {
    QImage image = Canvas(400, 400);
    ImageDeviceContext dc(image);
    const Rect box{100, 40, 300, 400};
    dc.DrawText(
        "THIS GAME WILL NOT RUN AT RESOLUTIONS BELOW 800x600. PLEASE QUIT NOW BY "
        "PRESSING THE Alt and F4 KEYS.",
        box, kDtCenter | kDtWordBreak);
    const int cell = ResolveFont(kDefaultFont).metrics.height();
    int lines = 0;
    for (Rect band = Painted(image, {0, box.top, 400, box.top + cell}); band != Rect{};
         band = Painted(image, {0, box.top + lines * cell, 400, box.top + (lines + 1) * cell})) {
        EXPECT_EQ(band.top, box.top + lines * cell);
        EXPECT_GE(band.left, box.left);
        EXPECT_LE(band.right, box.right);
        EXPECT_NEAR(band.left - box.left, box.right - band.right, 1);
        ++lines;
    }
    EXPECT_GE(lines, 4);
    EXPECT_EQ(Painted(image).top, box.top);
    EXPECT_EQ(Painted(image, {0, box.top + lines * cell, 400, 400}), Rect{});
}

TEST(ImageDeviceContextText, BackgroundModeDecidesWhatIsPaintedBehindTheText) {
    QImage image = Canvas(200, 40);
    ImageDeviceContext dc(image);
    dc.SelectFont(kPanelFont);
    dc.SetTextColor(kRed);
    dc.TextOut(10, 8, "Net Score");
    const Rect cell{10, 8, 10 + dc.TextWidth("Net Score"),
                    8 + ResolveFont(kPanelFont).metrics.height()};
    EXPECT_EQ(Painted(image), cell);
    EXPECT_GT(Count(image, kRed), 20);
    EXPECT_EQ(Count(image, kRed) + Count(image, kWhite), cell.Width() * cell.Height());

    // Unsmoothed: only the text colour is ever added.
    image = Canvas(200, 40);
    dc.SetTransparentBackground();
    dc.TextOut(10, 8, "Net Score");
    EXPECT_GT(Count(image, kRed), 20);
    EXPECT_EQ(Count(image, kRed) + Count(image, kGrey), 200 * 40);
}

}  // namespace
}  // namespace tessaform

namespace tessaform {
namespace {

TEST(ImageSurfaceChanges, AreCollectedUntilTakenSoTheWindowShowsOnlyThem) {
    ImageSurface surface(300, 200);
    EXPECT_EQ(surface.TakeDirty(), QRect(0, 0, 300, 200)) << "a new image shows whole";
    EXPECT_TRUE(surface.TakeDirty().isNull());

    auto dc = surface.OpenClientDC();
    dc->SelectPen(kRed);
    dc->MoveTo(20, 30);
    dc->LineTo(179, 30);
    dc->LineTo(179, 189);
    // The end point is left out, so the last row shows nothing new.
    EXPECT_EQ(surface.TakeDirty(), QRect(QPoint(20, 30), QPoint(179, 188)));

    dc->SetPixel(5, 6, kBlue);
    dc->SetPixel(400, 6, kBlue);  // off the image: nothing to show
    EXPECT_EQ(surface.TakeDirty(), QRect(5, 6, 1, 1));

    dc->FillRect({250, 150, 400, 400}, kBlue);
    EXPECT_EQ(surface.TakeDirty(), QRect(QPoint(250, 150), QPoint(299, 199)));

    dc->DrawText("01:45", {84, 1, 129, 18}, kDtSingleLine | kDtVCenter | kDtCenter);
    EXPECT_TRUE(QRect(84, 1, 45, 17).contains(surface.TakeDirty()));

    // The same drawing again changes no pixel, so there is nothing new to show.
    dc->DrawText("01:45", {84, 1, 129, 18}, kDtSingleLine | kDtVCenter | kDtCenter);
    dc->MoveTo(20, 30);
    dc->LineTo(179, 30);
    dc->FillRect({250, 150, 400, 400}, kBlue);
    dc->SetPixel(5, 6, kBlue);
    EXPECT_TRUE(surface.TakeDirty().isNull());
    dc->DrawText("01:44", {84, 1, 129, 18}, kDtSingleLine | kDtVCenter | kDtCenter);
    EXPECT_FALSE(surface.TakeDirty().isNull());
}

}  // namespace
}  // namespace tessaform
