// What the view puts on screen: the first repaint's layout, figure and pictures, the
// dissolve, and the strip's and the recap's texts in their boxes.
#include <gtest/gtest.h>

#include <ranges>

#include "Arrangements.h"
#include "Recap.h"
#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

TEST(FirstRepaint, TheFigureShowsWhileTheDealSoundPlaysThenTheBoardAndTheClock) {
    ViewHarness h;
    h.onSound = [&](int, bool) {  // the deal sound, 154
        EXPECT_TRUE(h.timers.empty()) << "the clock starts after the sound";
        EXPECT_GT(h.Pixels({0, 0, 792, 560}, kMagenta), 500) << "the figure's magenta line";
        EXPECT_EQ(h.Pixels(h.State().blockRect[5], kBlack), 0) << "no picture yet";
    };
    h.Repaint();
    EXPECT_EQ(h.State().blockRect[11], (Rect{586, 381, 746, 541})) << "180 pixels apart";
    EXPECT_EQ(h.State().anotherSetRect, (Rect{9, 51, 34, 509}));
    EXPECT_EQ(h.State().gameStartTime, kFirstSecond + SoundMs(154) / 1000);
    EXPECT_EQ(h.timers, (std::map<int, unsigned>{{kClockTimer, 50}}));
    EXPECT_EQ(h.title, std::string(kTitleNotice) + "time 1000000 -- Version P504 of");
    // Each cell's centre shows its shape's colour: c blue, x green, s yellow, t red.
    const std::map<QRgb, char> shapes = {
        {kBlue.Argb(), 'c'}, {kGreen.Argb(), 'x'}, {kYellow.Argb(), 's'}, {kRed.Argb(), 't'}};
    for (int k = 0; k < kBlockCount; ++k) {
        std::string seen;
        for (const auto& [x, y] : {std::pair{40, 40}, {120, 40}, {120, 120}, {40, 120}}) {
            const QRgb pixel =
                h.Image().pixel(h.State().blockRect[k].left + x, h.State().blockRect[k].top + y);
            seen += shapes.count(pixel) != 0 ? shapes.at(pixel) : '?';
        }
        EXPECT_EQ(seen, kArrangementCodes[h.State().blockArrangement[k]]) << "block " << k;
    }
}

TEST(Dissolve, TopLeftFirstThenTheScatterAlternatingBlocksUntilBothAreGrey) {
    ViewHarness h;
    h.Play("repaint; forget");
    h.record.pixelsToo = true;
    h.view->LoseBlocks(1, 1, 2, 2);  // blocks 4 and 8
    const auto& pixels = h.record.pixels;
    ASSERT_EQ(pixels.size(), 4u * 2 * 160 * 160);
    // Blocks 4 and 8 start at (226, 201) and (406, 381); each pixel is written four times.
    const std::vector<std::pair<int, int>> first = {{226, 201}, {406, 381}, {226, 201}, {406, 381},
                                                    {226, 201}, {406, 381}, {226, 201}, {406, 381},
                                                    {362, 214}, {542, 394}};
    EXPECT_EQ(std::vector(pixels.begin(), pixels.begin() + 10), first);
    EXPECT_TRUE(h.Grey(4) && h.Grey(8));
    EXPECT_FALSE(h.Grey(7));
}

TEST(Dissolve, IsShownInFifteenFrames) {
    ViewHarness h(792, 560, 15);
    h.Play("repaint; forget");
    h.Play("miss 5");
    Log expected = {"miss block 5", "lose blocks 5 5", "start sound 159"};
    expected.resize(3 + 15, "show");
    EXPECT_EQ(h.log, expected);
}

// All eleven matched in a move each with 90 s left: the largest bonus and net; every
// block at ten clicks and none matched: the largest cost, the most negative net.
constexpr const char* kBest = "matched; at 15; arrow 1 3";
constexpr const char* kWorst = "clicks 10; evaluate";

std::vector<TextDrawn> StripTexts(const char* steps) {
    ViewHarness h;
    h.Play(std::string("repaint; forget; ") + steps);
    EXPECT_EQ(h.Pixels({459, 1, 583, 18}, kGrey) == 124 * 17, steps == kWorst)
        << "the bonus box and its label only when the bonus counts";
    return h.record.texts;
}

constexpr unsigned kV = 0x25;  // a value: single line, centred both ways
constexpr unsigned kL = 0x26;  // a label: single line, centred vertically, right-aligned

// Each box in the order drawn, its value before its label; only a counted bonus shows.
TEST(Strip, ShowsEachNumberInItsFormatAndBoxAndTheBonusOnlyWhenItCounts) {
    const std::vector<TextDrawn> best = {
        {"01:30", {84, 1, 129, 18}, kV},    {"Time Left", {10, 1, 80, 18}, kL},
        {"1255800", {523, 1, 583, 18}, kV}, {"Bonus", {459, 1, 519, 18}, kL},
        {" 110", {399, 1, 449, 18}, kV},    {"Click Cost", {310, 1, 395, 18}, kL},
        {"3640", {240, 1, 300, 18}, kV},    {"Match Score", {139, 1, 236, 18}, kL},
        {"1259330", {683, 1, 743, 18}, kV}, {"Net Score", {593, 1, 679, 18}, kL}};
    EXPECT_EQ(StripTexts(kBest), best);
    const std::vector<TextDrawn> worst = {{"24200", {399, 1, 449, 18}, kV},   best[5],
                                          {"  10", {240, 1, 300, 18}, kV},    best[7],
                                          {" -24190", {683, 1, 743, 18}, kV}, best[9]};
    EXPECT_EQ(StripTexts(kWorst), worst);
}

std::vector<TextDrawn> RecapTexts(const std::array<std::int32_t, 6>& scores) {
    ViewHarness h;
    h.Play("repaint; forget");
    h.State().setScores = scores;
    DrawRecap(*h.OpenClientDC(), h.State());
    EXPECT_EQ(h.Pixels({9, 51, 34, 509}, kYellow), 2 * 25 + 2 * 456) << "the column's frame";
    for (int left = 69; left < 69 + 6 * 125; left += 125) {
        EXPECT_EQ(h.Pixels({left, 544, left + 60, 560}, kRed), 2 * 60 + 2 * 14) << left;
    }
    return h.record.texts;
}

TEST(Recap, ShowsTheAverageAndTheGamesRightToLeftAndSpellsTheColumn) {
    std::vector<TextDrawn> expected = {
        {" 251906", {69, 544, 129, 560}, kV},  {"Average", {10, 544, 65, 560}, kL},
        {"1255800", {194, 544, 254, 560}, kV}, {"Game 5", {135, 544, 190, 560}, kL},
        {"      0", {319, 544, 379, 560}, kV}, {"Game 4", {260, 544, 315, 560}, kL},
        {"   3640", {444, 544, 504, 560}, kV}, {"Game 3", {385, 544, 440, 560}, kL},
        {"    -30", {569, 544, 629, 560}, kV}, {"Game 2", {510, 544, 565, 560}, kL},
        {"    120", {694, 544, 754, 560}, kV}, {"Game 1", {635, 544, 690, 560}, kL}};
    const std::string letters = "CLICKHERETOPLAYANOTHERSET";
    const int offsets[] = {0,   15,  30,  45,  60,  85,  100, 115, 130, 155, 170, 195, 210,
                           225, 240, 265, 280, 295, 310, 325, 340, 355, 380, 395, 410};
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const int y = 51 + 18 + offsets[i];
        expected.push_back({letters.substr(i, 1), {18, y, 18, y}, 0, kPanelFont});
    }
    EXPECT_EQ(RecapTexts({120, -30, 3640, 0, 1'255'800, 0}), expected);
}

// Every text of the strip and the recap, at the widest values the rules allow, fits its
// box in the font the screen resolves for it: a font that cuts one fails here.
TEST(TextFit, EveryStripAndRecapTextFitsItsBoxAtItsWidestValue) {
    std::array<std::int32_t, 6> highest{}, lowest{};  // whole sets at either end
    highest.fill(1'259'330);
    lowest.fill(-24'190);
    const std::vector<std::vector<TextDrawn>> drawn = {StripTexts(kBest), StripTexts(kWorst),
                                                       RecapTexts(highest), RecapTexts(lowest)};
    int measured = 0;
    for (const TextDrawn& t : drawn | std::views::join) {
        if (t.flags == 0) {
            continue;  // the column's letters, placed at a point
        }
        const QFontMetrics& metrics = ResolveFont(t.font).metrics;
        // A value box's outline takes a pixel on either side.
        const int room = t.rect.Width() - ((t.flags & kDtCenter) != 0 ? 2 : 0);
        EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(t.text)), room)
            << '"' << t.text << "\" in a box " << t.rect.Width() << " wide";
        EXPECT_LE(metrics.height(), t.rect.Height()) << t.text;
        ++measured;
    }
    EXPECT_EQ(measured, 10 + 6 + 2 * 12);
}

}  // namespace
}  // namespace tessaform::testing
