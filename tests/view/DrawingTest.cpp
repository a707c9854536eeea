// What the view puts on screen: the first repaint's figure, pictures and clock, the
// dissolve, and through a whole set, each game's strip, its rest and the next deal, and the
// recap's numbers and labels as a player reads them; and every text of the screen in the
// glyphs baked at build time; a screen that turns narrow and wide again, and a work area that
// changes while it stays wide.
#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>

#include "Arrangements.h"
#include "BakedFonts.h"
#include "Fakes.h"

namespace tessaform::testing {

// The figure shows while the deal sound plays, then the board and the clock. Then a collision's
// sound plays over both blocks framed black, and the blocks grey: both start at their top-left
// pixels, each pixel four times, then go on by the scatter, in turns; the screen shows them
// greying step by step, and neither takes a press again.
TEST(FirstRepaint, TheFigureThenTheBoardAndTheClockThenACollisionsDissolveStepByStep) {
    Game g(792, 560, {.frameTime = {}});
    g.surface.whenShown = [&] {  // as the deal sound starts
        EXPECT_GT(g.surface.Count(g.State().clientRect, kMagenta), 500) << "the figure";
        EXPECT_EQ(g.surface.Count(g.Block(5), kBlack), 0) << "no picture yet";
    };
    g.Repaint();
    // Each block shows its arrangement's picture where it stands, inside the master's frame too;
    // what each picture shows is the pictures' own test.
    for (int k = 0; k < kBlockCount; ++k) {
        const auto p = LoadBitmapResource(kPictureResourceIds[g.State().blockArrangement[k]]);
        for (int y = 1; y < 159; ++y) {
            auto* row = g.surface.screen.Pixels() + (g.Block(k).top + y) * 792L + g.Block(k).left;
            ASSERT_TRUE(std::equal(row + 1, row + 159, p->pixels.begin() + y * 160L + 1)) << k;
        }
    }
    // The first tick shows the whole game: a clock started before the deal sound, or one
    // that counts a second short, shows less.
    EXPECT_EQ(g.Forget().Tick().surface.texts.at(0).text, "01:45");

    const Rect &a = g.Block(1), &b = g.Block(3);
    std::vector<int> grey;
    g.surface.whenShown = [&] {
        EXPECT_TRUE(!grey.empty() || g.Board() == "rk.k........") << "black frames first";
        grey.push_back(g.surface.Count(a, kGrey) + g.surface.Count(b, kGrey));
    };
    g.surface.pixels.emplace();
    g.PressArrow(1, 7);  // block 1 takes block 3's arrangement
    Log frames;          // each shown, then held
    for (int i = 0; i < 15; ++i) {
        frames.insert(frames.end(), {"show", "wait 0 ms"});
    }
    EXPECT_EQ(g.log, Join({{"move block 1 arrow 7: 3", "collide blocks 1 3", "show",
                            "wait sound collision", "lose blocks 1 3", "start sound loss"},
                           frames}));
    const auto& pixels = *g.surface.pixels;
    ASSERT_EQ(pixels.size(), 4u * 2 * 160 * 160);
    const std::pair<int, int> a0{a.left, a.top}, b0{b.left, b.top};
    const std::pair<int, int> a1{a.left + 136, a.top + 13}, b1{b.left + 136, b.top + 13};
    EXPECT_EQ(std::vector(pixels.begin(), pixels.begin() + 10),
              (std::vector{a0, b0, a0, b0, a0, b0, a0, b0, a1, b1}));
    EXPECT_EQ(std::ranges::adjacent_find(grey, std::greater_equal{}), grey.end()) << "a step";
    EXPECT_EQ(grey.back(), 2 * 160 * 160);
    EXPECT_EQ(g.PressArrow(3, 2).PressArrow(1, 2).Board(), "rx.x........") << "both lost";
}

constexpr unsigned kValue = kDtSingleLine | kDtVCenter | kDtCenter;  // centred in its box
constexpr unsigned kLabel = kDtSingleLine | kDtVCenter | kDtRight;   // set right, by its box
constexpr unsigned kLine = kDtSingleLine;                            // from its point

// The texts as a player reads them: the strip's left to right, none over the next and each
// fitting its box in the font the screen resolves for it, a label set right as "Bonus>", a
// value centred in its box framed in the pen's colour as "[840]"; then the column's letters
// top to bottom, a space where a wider step parts two words.
static std::string Read(const FakeSurface& screen, Rgb pen) {
    std::vector<TextDrawn> texts = screen.texts;
    std::ranges::sort(texts, {}, [](const TextDrawn& t) {
        return std::pair(t.flags == kLine, t.flags == kLine ? t.rect.top : t.rect.left);
    });
    std::string reading;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const TextDrawn &t = texts[i], &before = texts[i == 0 ? 0 : i - 1];
        if (t.flags == kLine) {
            const bool apart = i == 0 || before.flags != kLine || t.rect.top - before.rect.top > 15;
            reading += (apart ? " " : "") + t.text;
            continue;
        }
        EXPECT_TRUE(i == 0 || before.rect.right <= t.rect.left) << t.text;
        // A value box's outline takes a pixel on either side.
        EXPECT_LE(t.font->Width(t.text), t.rect.Width() - (t.flags == kValue ? 2 : 0)) << t.text;
        EXPECT_LE(t.font->Height(), t.rect.Height()) << t.text;
        EXPECT_TRUE(t.flags != kValue || screen.Framed(t.rect, pen)) << t.text;
        reading += t.flags == kValue   ? " [" + t.text + "]"
                   : t.flags == kLabel ? " " + t.text + ">"
                                       : " " + t.text + "?";
    }
    return reading;
}

// What a screen reader finds on the screen now, in reading order.
static std::string Words(const Game& g) {
    std::string words;
    for (const ScreenText& t : g.surface.screen.Texts()) {
        words += (words.empty() ? "" : " | ") + t.text;
    }
    return words;
}

// On the column's corners, edges included, or one pixel outside each.
static void PressColumn(Game& g, int out) {
    const Rect& c = g.State().anotherSetRect;
    g.Press(c.left - out, c.top).Press(c.right + out, c.bottom);
    g.Press(c.left, c.top - out).Press(c.right, c.bottom + out);
}

// A set of the best and the worst game, the widest values a game can reach, in every box: each
// game's strip, its boxes framed in blue; its end, by the clock unless it ended itself; the
// rest, while the column takes no press, and the next deal, whose master is framed red again,
// not green as a matched block is; then the recap, every value's box framed in red, whose
// column, centred in height, alone starts another set.
TEST(Set, EachGamesStripInItsFormatsThenItsRestAndAfterFiveTheRecapWhoseColumnStartsAnother) {
    const std::string strips[] = {
        " Time Left> [01:35] Match Score> [3640] Click Cost> [ 290] Bonus> [1255800]"
        " Net Score> [1259150]",
        " Time Left> [01:45] Match Score> [  10] Click Cost> [24200] Net Score> [ -24190]"};
    const std::string words[] = {
        "Time Left 01:35 | Match Score 3640 | Click Cost 290 | Bonus 1255800 | Net Score 1259150",
        "Time Left 01:45 | Match Score 10 | Click Cost 24200 | Net Score -24190"};
    const std::string scores[] = {"match 3640 clicks 290 bonus 1255800 net 1259150",
                                  "match 10 clicks 24200 bonus 0 net -24190"};
    const std::string recap = "recap: 1259150 -24190 1259150 1259150 1259150 average 1002482";
    Game g;
    g.Repaint();
    for (int game = 1; game <= 5; ++game) {
        const bool worst = game == 2;
        // The best game: all eleven matched, the last with 95 s left, past the 90 the bonus
        // counts; the worst: every block pressed twelve times, two past the ten moves that cost,
        // and none matched. Each leaves only the texts of its last step.
        if (worst) {
            for (int k = 1; k < kBlockCount; ++k) {
                g.PressArrow(k, k == 1 || k == 6 || k == 7 ? 1 : 0, 12);  // each swap undoes itself
            }
            g.Forget().Repaint();
        } else {
            g.MatchAllButBlock1().At(10).Forget().PressArrow(1, 3);
        }
        EXPECT_EQ(Read(g.surface, kBlue), strips[worst]);
        EXPECT_EQ(Words(g), words[worst]) << "no bonus left from the game before";
        g.Forget();
        if (worst) {
            EXPECT_EQ(g.At(104).Tick().log, Log{}) << "up at 105 s, not a second before";
            g.At(105).Tick();
        }
        if (game < 5) {
            PressColumn(g, 0);  // in the rest of game 5 it would start another set at once
        }
        g.EndRest();
        const Log rest = game < 5 ? Rest(game, scores[worst])
                                  : Log{"kill rest timer", "score game 5: " + scores[0], recap};
        EXPECT_EQ(g.log, Join({worst ? Over(game) : Log{}, rest}));
        EXPECT_EQ(g.Board(), game < 5 ? "r..........." : "rggggggggggg") << game;
    }
    EXPECT_EQ(Read(g.surface, kRed),
              " Average> [1002482] Game 5> [1259150] Game 4> [1259150] Game 3> [1259150]"
              " Game 2> [ -24190] Game 1> [1259150] CLICK HERE TO PLAY ANOTHER SET");
    EXPECT_EQ(Words(g), words[0] +
                            " | CLICK HERE TO PLAY ANOTHER SET | Average 1002482 | Game 5 "
                            "1259150 | Game 4 1259150 | Game 3 1259150 | Game 2 -24190 | "
                            "Game 1 1259150");
    const Rect& column = g.State().anotherSetRect;
    EXPECT_TRUE(g.surface.Framed(column, kYellow));
    EXPECT_EQ(column.top, 560 - column.bottom) << "centred in height, as much above as below";
    PressColumn(g.Forget().Repaint(), 1);
    EXPECT_EQ(g.log, (Log{"kill rest timer", recap}));
    g.Forget().Press(column.right, column.bottom);
    EXPECT_EQ(g.log, (Log{"new set", "layout 792x560 board 46,21", DealLine(1), "show",
                          "wait sound deal", "set clock timer"}));
    EXPECT_EQ(g.surface.Count(column, kYellow), 0) << "the new set clears the recap";
    EXPECT_EQ(Words(g), "Time Left 01:45 | Match Score 10 | Click Cost 0 | Net Score 10");
    EXPECT_EQ(g.Board(), "r...........") << "the new set's board is drawn";
}

// Every text the screen shows comes out the same in the glyphs baked at build time as in Qt's:
// the strip's and the recap's labels and numbers, the column's letters, and the narrow warning
// wrapped at several widths.
TEST(BakedFonts, DrawEveryTextOfTheScreenAsQtsGlyphsDo) {
    PixelSurface baked(1063, 1800, BakedFonts()), qt(1063, 1800, DesktopFonts());
    for (PixelSurface* surface : {&baked, &qt}) {
        const auto dc = surface->OpenClientDC();
        dc->SetTextColor(kBlue), dc->TextOut(0, 0, "Time Left Match Score Click Cost Bonus");
        dc->TextOut(0, 20, "Net Score Average Game 1 2 3 4 5 01:45 -24190 1259150 67890");
        dc->SelectFont(kPanelFont), dc->TextOut(0, 40, "CLICK HERE TO PLAY ANOTHER SET");
        dc->SelectFont(kBannerFont);
        dc->DrawText(kNarrowScreenMessage, {0, 60, 640, 1800}, kDtCenter | kDtWordBreak);
        dc->DrawText(kNarrowScreenMessage, {640, 60, 973, 1800}, kDtCenter | kDtWordBreak);
        dc->DrawText(kNarrowScreenMessage, {973, 60, 1063, 1800}, kDtCenter | kDtWordBreak);
    }
    EXPECT_TRUE(std::equal(qt.Pixels(), qt.Pixels() + 1063L * 1800, baked.Pixels()));
    EXPECT_GT(std::count(qt.Pixels(), qt.Pixels() + 1063L * 1800, kBlue.Argb()), 10000);
}

// Below 641 pixels only the red warning shows, and no game runs nor does a press where the
// column was start a set; wide again, the set goes on: the game cut short is over, the next
// begins, and a recap comes back at the new bottom.
TEST(NarrowScreen, TheWarningStopsTheGameAndTheSetGoesOnWhenWideAgain) {
    const Log narrow = {"kill clock timer", "kill rest timer", "narrow 640x480"};
    Game g;
    EXPECT_EQ(g.Resize(640, 480).log, narrow);
    const Rect all = g.surface.ClientRect();
    EXPECT_EQ(g.surface.Count(all, kRed) + g.surface.Count(all, kBlue), all.Width() * all.Height());
    EXPECT_GT(g.surface.Count(all, kBlue), 2000) << "blue words";
    EXPECT_EQ(Words(g), kNarrowScreenMessage) << "and only they, for a reader too";
    EXPECT_EQ(g.Forget().Resize(641, 480).log, (Log{"layout 641x480 board -29,-19", DealLine(1),
                                                    "show", "wait sound deal", "set clock timer"}));
    g.Forget().Resize(640, 480).PressArrow(4, 2).Resize(1024, 768);
    EXPECT_EQ(g.log, Join({narrow, {"layout 1024x768 board 162,125"}, Rest(1)}));
    const Rect& column = g.State().anotherSetRect;
    g.RunOut().RunOut().RunOut().RunOut().Forget().Resize(640, 480);
    g.Press(column.left, column.top).Resize(900, 700);
    const std::string recap = "recap: 10 10 10 10 10 average 10";
    EXPECT_EQ(g.log, Join({narrow, {"layout 900x700 board 100,91", "kill rest timer", recap}}));
    EXPECT_EQ(g.State().recapLabelRect.bottom, 700) << "at the bottom";
}

// A work area that changes while the screen stays wide, as when a panel comes or goes: the
// board is laid out afresh and centred, the game goes on and a press lands on the new board;
// in a rest too, which the repaint ends as it always does.
TEST(WorkArea, TheBoardFollowsTheClientAreaAndTheGameGoesOn) {
    Game g(1280, 1024);
    g.Repaint();
    const std::pair<int, int> sizes[] = {{1280, 997}, {1400, 1050}, {1024, 768}};
    for (const auto& [width, height] : sizes) {
        const bool resting = width == 1024;
        if (resting) {
            g.At(106).Tick();
        }
        g.Forget().Resize(width, height);
        const Rect first = g.Block(0), last = g.Block(11);
        EXPECT_LE(std::abs(first.left - (width - last.right)), 1) << width;
        EXPECT_LE(std::abs(first.top - (height - last.bottom)), 2) << width;
        const std::string layout = "layout " + std::to_string(width) + "x" +
                                   std::to_string(height) + " board " + std::to_string(first.left) +
                                   "," + std::to_string(first.top);
        EXPECT_EQ(g.log, resting ? Join({{layout}, Rest(1, "match 10 clicks 200 bonus 0 net -190")})
                                 : Log{layout});
        EXPECT_EQ(g.Board(), "r...........") << width;
        EXPECT_EQ(g.Forget().PressArrow(4, 2).log, Log{"move block 4 arrow 2: 18"}) << width;
        g.PressArrow(4, 2);  // back, so that every pass finds block 4 as dealt
    }
}

}  // namespace tessaform::testing
