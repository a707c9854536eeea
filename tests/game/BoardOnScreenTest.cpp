#include <gtest/gtest.h>

#include <algorithm>

#include "Arrangements.h"
#include "BlockDrawing.h"
#include "Layout.h"
#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

Rect Square(const GameState& s, int block) {
    return s.blockRect[block];
}

TEST(Layout, CentresTheBoardAndTheColumnInTheClientArea) {
    ViewHarness h(792, 560);
    h.Repaint();
    const GameState& s = h.State();
    EXPECT_EQ(Square(s, 0).left, 46);
    EXPECT_EQ(Square(s, 0).top, 21);
    EXPECT_EQ(Square(s, 11).right, 746);
    EXPECT_EQ(Square(s, 11).bottom, 541);
    EXPECT_EQ(Square(s, 1), Square(s, 0).Offset(0, 180)) << "block 1 sits below the master";
    EXPECT_EQ(Square(s, 3), Square(s, 0).Offset(180, 0)) << "block 3 sits right of it";
    EXPECT_EQ(s.anotherSetRect, (Rect{9, 51, 34, 509}));
    EXPECT_EQ(s.netScoreValueRect, (Rect{683, 1, 743, 18}));
}

TEST(Layout, DissolveOrderVisitsEveryPixelOfABlockOnce) {
    GameState s;
    BuildDissolveOrder(s);
    std::vector<int> seen(25'600, 0);
    for (int i = 0; i < 25'600; ++i) {
        ASSERT_GE(s.dissolveOrder[i], 0);
        ASSERT_LT(s.dissolveOrder[i], 25'600) << "entry " << i << " leaves the block";
        ++seen[s.dissolveOrder[i]];
        EXPECT_EQ(s.dissolveOrder[i], static_cast<int>((i * 21'773LL) % 25'600));
    }
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
}

TEST(NarrowScreen, BelowSixHundredFortyOnePixelsShowsOnlyTheRedWarning) {
    ViewHarness narrow(640, 480);
    narrow.Repaint();
    const QImage& image = narrow.Image();
    EXPECT_EQ(narrow.State().gameOver, 1);
    EXPECT_EQ(narrow.State().boardInitialized, 0);
    EXPECT_TRUE(narrow.timers.set.empty());
    EXPECT_EQ(narrow.Count("wait sound 154"), 0);
    const int blue = CountColour(image, {0, 0, 640, 480}, 0xff0000ff);
    const int red = CountColour(image, {0, 0, 640, 480}, kRedPixel);
    EXPECT_GT(blue, 2000) << "the message is written in blue";
    EXPECT_EQ(red + blue, 640 * 480) << "nothing but the red screen and its text";
    EXPECT_EQ(std::string(kNarrowScreenMessage).size(), 101u);
    // The first line starts at the top: blue within the first text line's height.
    EXPECT_GT(CountColour(image, {0, 0, 640, 64}, 0xff0000ff), 100);

    ViewHarness wide(641, 600);
    wide.Repaint();
    EXPECT_EQ(wide.State().boardInitialized, 1);
    EXPECT_EQ(wide.State().gameOver, 0);
    EXPECT_EQ(wide.Image().pixel(640, 590), kGreyPixel) << "grey background, no red screen";
}

TEST(FirstRepaint, WaitsForTheDealSoundWithTheFigureOnScreenBeforeBoardAndClock) {
    ViewHarness h;
    bool checked = false;
    h.sound.onPlay = [&](int id, bool waits) {
        if (id != 154 || !waits) {
            return;
        }
        checked = true;
        EXPECT_TRUE(h.timers.set.empty()) << "the clock starts after the sound";
        EXPECT_EQ(h.State().boardInitialized, 0);
        // The opening figure, not the board: its black and magenta lines, no picture yet.
        EXPECT_GT(CountColour(h.Image(), {0, 0, 792, 560}, 0xffff00ff), 100);
        EXPECT_LT(CountColour(h.Image(), Square(h.State(), 0), 0xffffff00), 500);
    };
    h.Repaint();
    EXPECT_TRUE(checked);
    const Log expected = {"show", "wait sound 154", "set timer 1"};
    ASSERT_GE(h.log.size(), 3u);
    EXPECT_EQ(Log(h.log.begin(), h.log.begin() + 3), expected);
    EXPECT_EQ(h.timers.set.at(1), 50u);
    EXPECT_EQ(h.State().gameStartTime, h.clock.now);
    EXPECT_EQ(h.State().boardInitialized, 1);
    EXPECT_TRUE(h.view->PicturesLoaded());
    // After it: every block open with no moves, the master counted as matched.
    for (int k = 1; k < kBlockCount; ++k) {
        EXPECT_EQ(h.State().blockStatus[k], kOpen);
        EXPECT_EQ(h.State().blockClicks[k], 0);
    }
    EXPECT_EQ(h.State().blockStatus[0], kMatched);
    EXPECT_EQ(h.documentTitle, std::string(kTitleNotice) + "time 1000000 -- Version P504 of");
}

TEST(FirstRepaint, OpeningFigureLinesLeaveOutTheirEndPoints) {
    ImageSurface surface(800, 600);
    auto dc = surface.OpenClientDC();
    dc->FillRect({0, 0, 800, 600}, kGrey);
    DrawOpeningFigure(*dc, {0, 0, 800, 600});
    const QImage& image = surface.Image();
    // Two runs end at (0, 450): the red and the yellow line both stop short of it.
    EXPECT_EQ(image.pixel(0, 450), kGreyPixel);
    EXPECT_NE(image.pixel(1, 450), kGreyPixel);
    // A line paints its start point: run 2 starts at the corner after run 1 did.
    EXPECT_EQ(image.pixel(0, 0), 0xffffff00);
    EXPECT_EQ(image.pixel(1, 0), 0xffff0000) << "run 1's red line along the top";
    EXPECT_GT(CountColour(image, {0, 0, 800, 600}, 0xffff00ff), 500) << "magenta line";
}

TEST(LaterRepaint, NeverDealsReloadsOrRestartsAnything) {
    ViewHarness h;
    h.Repaint();
    const auto arrangements = h.State().blockArrangement;
    const std::size_t before = h.log.size();
    h.clock.now += 10;
    h.Repaint();
    EXPECT_EQ(h.State().blockArrangement, arrangements);
    const Log after = h.Since(before);
    EXPECT_EQ(std::count(after.begin(), after.end(), "wait sound 154"), 0);
    EXPECT_EQ(std::count(after.begin(), after.end(), "set timer 1"), 0);
    EXPECT_EQ(h.State().gameStartTime, h.clock.now - 10);
    EXPECT_EQ(h.State().timeLeftText, "01:35");
}

TEST(Board, EachBlockShowsThePictureOfItsArrangement) {
    ViewHarness h;
    h.Repaint();
    const GameState& s = h.State();
    // The colour at each cell's centre names its shape: c blue, x green, s yellow, t red.
    const QRgb colourOf[] = {0xff0000ff, 0xff00ff00, 0xffffff00, 0xffff0000};
    const std::string letters = "cxst";
    const int cellCentre[4][2] = {{40, 40}, {120, 40}, {120, 120}, {40, 120}};
    for (int k = 0; k < kBlockCount; ++k) {
        const char* code = kArrangementCodes[s.blockArrangement[k]];
        for (int cell = 0; cell < 4; ++cell) {
            const QRgb expected = colourOf[letters.find(code[cell])];
            EXPECT_EQ(h.PixelIn(k, cellCentre[cell][0], cellCentre[cell][1]), expected)
                << "block " << k << " cell " << cell;
        }
    }
}

TEST(Frames, AFramePaintsExactlyTheRingAndABlitReplacesIt) {
    ViewHarness h;
    h.Repaint();
    const Rect r = Square(h.State(), 4);
    const Rect around{r.left - 5, r.top - 5, r.right + 5, r.bottom + 5};
    const int blackBefore = CountColour(h.Image(), around, kBlackPixel);
    const int blackRingBefore = RingPixels(h.Image(), r, kBlackPixel);
    h.view->FrameBlock(4, kBlack);
    EXPECT_EQ(RingPixels(h.Image(), r, kBlackPixel), 636);
    EXPECT_EQ(CountColour(h.Image(), around, kBlackPixel) - blackBefore, 636 - blackRingBefore);

    h.view->RedrawBlock(ColumnOf(4), RowOf(4));
    EXPECT_EQ(RingPixels(h.Image(), r, kGreyPixel), 636) << "the pictures' ring is grey";
}

TEST(Frames, TheMasterIsRedAndMatchedBlocksGreenOnEveryRepaint) {
    ViewHarness h;
    h.Repaint();
    h.State().blockStatus[5] = kMatched;
    h.Repaint();
    EXPECT_EQ(RingPixels(h.Image(), Square(h.State(), 0), kRedPixel), 636);
    EXPECT_EQ(RingPixels(h.Image(), Square(h.State(), 5), kGreenPixel), 636);
    EXPECT_EQ(RingPixels(h.Image(), Square(h.State(), 6), kGreenPixel), 0);
}

TEST(Dissolve, VisitsTopLeftFirstThenItsScatterAlternatingTheTwoBlocks) {
    ViewHarness h;
    h.Repaint();
    const GameState& s = h.State();
    RecordingDC log;
    DissolveBlocks(log, s, 4, 7, 0, {});
    ASSERT_EQ(log.pixels.size(), 204'800u);
    const Rect a = Square(s, 4);
    const Rect b = Square(s, 7);
    for (int i = 0; i < 8; ++i) {
        const Rect& r = i % 2 == 0 ? a : b;
        EXPECT_EQ(log.pixels[i], std::make_pair(r.left, r.top)) << "write " << i;
    }
    EXPECT_EQ(log.pixels[8], std::make_pair(a.left + 136, a.top + 13));
    EXPECT_EQ(log.pixels[9], std::make_pair(b.left + 136, b.top + 13));
}

TEST(Dissolve, LeavesBothSquaresGreyAlsoForOneBlockGivenTwice) {
    ViewHarness h;
    h.Repaint();
    h.view->LoseBlocks(1, 1, 2, 2);  // blocks 4 and 8
    EXPECT_TRUE(AllColour(h.Image(), Square(h.State(), 4), kGreyPixel));
    EXPECT_TRUE(AllColour(h.Image(), Square(h.State(), 8), kGreyPixel));
    EXPECT_FALSE(AllColour(h.Image(), Square(h.State(), 7), kGreyPixel));
    h.view->LoseBlocks(3, 0, 3, 0);  // block 9
    EXPECT_TRUE(AllColour(h.Image(), Square(h.State(), 9), kGreyPixel));

    // A lost block stays a grey hole when the window is repainted.
    h.Repaint();
    for (int k : {4, 8, 9}) {
        EXPECT_TRUE(AllColour(h.Image(), Square(h.State(), k), kGreyPixel)) << "block " << k;
    }
}

TEST(Dissolve, IsShownInSeveralFramesWhenPaced) {
    ViewHarness h;
    h.Repaint();
    GameView paced(ViewPorts{h.surface, h.timers, h.clock, h.sound, h.messages, h.random, {}},
                   DissolvePacing{15, std::chrono::milliseconds(0)});
    paced.State() = h.State();
    const std::size_t before = h.log.size();
    paced.LoseBlocks(1, 0, 1, 0);
    const Log after = h.Since(before);
    EXPECT_EQ(std::count(after.begin(), after.end(), "show"), 15);
}

}  // namespace
}  // namespace tessaform::testing
