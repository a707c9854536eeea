#include <gtest/gtest.h>

#include <algorithm>

#include "Recap.h"
#include "Scoring.h"
#include "Strip.h"
#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

struct Set : DealtGame {
    // Runs the clock out on the game in play: the tick at 105 seconds.
    void TimeOut() {
        clock.now = State().gameStartTime + 105;
        Tick(kClockTimer);
    }
    // The rest timer expires.
    void RestEnds() {
        clock.now += 1;
        Tick(kRestTimer);
    }
    // The recap's boxes are framed in red along the bottom edge.
    bool RecapShown() const {
        const int h = view->State().clientRect.bottom;
        return CountColour(Image(), {69, h - 16, 129, h}, kRedPixel) >= 100;
    }
    bool Contains(const std::string& entry) const { return Count(entry) > 0; }
};

TEST(Sets, FiveGamesMakeASetAndOnlyTheFifthEndsInTheRecap) {
    Set s;
    EXPECT_EQ(s.State().gameOver, 0) << "the first game starts by itself";
    for (int game = 0; game < 4; ++game) {
        EXPECT_EQ(s.State().gameIndex, game);
        s.TimeOut();
        EXPECT_EQ(s.State().gameOver, 1);
        s.log.clear();
        s.RestEnds();
        const Log expected = {"kill timer 2", "show",           "wait sound 157",
                              "show",         "wait sound 154", "set timer 1"};
        ASSERT_GE(s.log.size(), expected.size());
        EXPECT_EQ(Log(s.log.begin(), s.log.begin() + 6), expected) << "game " << game + 2;
        EXPECT_FALSE(s.RecapShown());
    }
    EXPECT_EQ(s.State().gameIndex, 4);
    s.TimeOut();
    EXPECT_FALSE(s.RecapShown()) << "not during the last rest";
    s.log.clear();
    s.RestEnds();
    EXPECT_EQ(s.log, (Log{"kill timer 2"}));
    EXPECT_TRUE(s.RecapShown());
    EXPECT_TRUE(s.timers.set.empty()) << "the set is over: no timer";
    EXPECT_EQ(s.State().gameOver, 1);
}

TEST(Sets, TheNextGameIsDealtDrawnAndStartedAfterItsSounds) {
    Set s;
    s.PressIn(4, 30, 30);  // a lost block in the first game
    s.TimeOut();
    const CalendarTime restStart = s.clock.now;
    s.sound.onPlay = [&](int id, bool waits) {
        EXPECT_TRUE(waits);
        EXPECT_TRUE(s.timers.set.empty()) << "sound " << id << " plays before the clock starts";
        EXPECT_EQ(s.State().gameIndex, 0);
    };
    s.RestEnds();
    s.sound.onPlay = {};
    const GameState& st = s.State();
    EXPECT_EQ(st.gameIndex, 1);
    EXPECT_EQ(st.gameOver, 0);
    EXPECT_EQ(st.gameStartTime, restStart + 1);
    EXPECT_EQ(st.blockStatus[0], kMatched);
    for (int k = 1; k < kBlockCount; ++k) {
        EXPECT_EQ(st.blockStatus[k], kOpen);
        EXPECT_EQ(st.blockClicks[k], 0);
    }
    EXPECT_FALSE(AllColour(s.Image(), st.blockRect[4], kGreyPixel)) << "the hole is dealt over";
    EXPECT_EQ(RingPixels(s.Image(), st.blockRect[0], kRedPixel), 636);
    EXPECT_EQ(st.setScores[1], 10);
    EXPECT_EQ(st.matchScore, 10);
    EXPECT_EQ(st.timeLeftText, "00:00") << "the box keeps its text until the first tick";
}

TEST(Sets, ARefusedClockAtTheNextGameKeepsTheOldStartTime) {
    Set s;
    s.TimeOut();
    const CalendarTime oldStart = s.State().gameStartTime;
    s.timers.refuse = {kClockTimer};
    s.RestEnds();
    EXPECT_TRUE(s.Contains("message No timer available / SDI:TESSAFORM"));
    EXPECT_EQ(s.State().gameStartTime, oldStart);
    EXPECT_EQ(s.State().clockRunning, 0);
    EXPECT_EQ(s.State().gameOver, 0) << "the game is dealt and takes presses";
    EXPECT_EQ(s.State().gameIndex, 1);
}

TEST(Sets, PressesDuringARestOrOnTheColumnBeforeTheLastGameDoNothing) {
    Set s;
    const Rect column = s.State().anotherSetRect;
    s.PressIn(1, 120, 80);  // press on the column while playing: it is just outside the board
    s.TimeOut();
    s.log.clear();
    for (auto [x, y] : std::vector<std::pair<int, int>>{
             {column.left, column.top}, {20, 200}, {300, 300}, {100, 100}}) {
        s.Press(x, y);
    }
    EXPECT_TRUE(s.log.empty());
    EXPECT_EQ(s.State().gameIndex, 0);
}

TEST(Sets, TheEdgeOfTheColumnStartsANewSetOnceTheFifthGameHasEnded) {
    Set s;
    for (int game = 0; game < 5; ++game) {
        s.TimeOut();
        s.RestEnds();
    }
    ASSERT_TRUE(s.RecapShown());
    s.State().setScores[3] = 777;
    const Rect column = s.State().anotherSetRect;
    s.log.clear();
    s.Press(column.left - 1, column.top);
    s.Press(column.right + 1, column.bottom);
    EXPECT_TRUE(s.log.empty()) << "just outside the column";

    s.Press(column.right, column.bottom);  // the very corner, edges included
    EXPECT_TRUE(s.Contains("wait sound 154"));
    EXPECT_TRUE(s.Contains("set timer 1"));
    EXPECT_EQ(s.State().gameIndex, 0);
    EXPECT_EQ(s.State().gameOver, 0);
    EXPECT_EQ(s.State().boardInitialized, 1);
    EXPECT_TRUE(s.view->PicturesLoaded());
    EXPECT_FALSE(s.RecapShown()) << "the new set's repaint clears the recap";
    EXPECT_EQ(s.State().setScores[3], 777) << "the old scores stay until overwritten";
    EXPECT_EQ(s.State().setScores[0], 10);
}

TEST(Sets, APressDuringTheLastRestStartsTheNewSetBeforeAnyRecap) {
    Set s;
    for (int game = 0; game < 4; ++game) {
        s.TimeOut();
        s.RestEnds();
    }
    s.TimeOut();  // the fifth game ends: rest timer set
    const Rect column = s.State().anotherSetRect;
    s.Press(column.left, column.top);
    EXPECT_FALSE(s.RecapShown());
    EXPECT_EQ(s.State().gameIndex, 0);
    EXPECT_EQ(s.timers.set.count(kRestTimer), 1u) << "the rest timer stays set";

    // Its expiries come as clock ticks of the new game.
    s.clock.now = s.State().gameStartTime + 3;
    s.Tick(kRestTimer);
    EXPECT_EQ(s.State().gameIndex, 0);
    EXPECT_EQ(s.State().timeLeftText, "01:42");
    s.TimeOut();
    EXPECT_EQ(s.timers.set, (std::map<int, unsigned>{{kRestTimer, 1000u}}));
}

TEST(Sets, ARepaintDuringARestStartsTheNextGameAtOnce) {
    Set s;
    s.TimeOut();
    s.log.clear();
    s.Repaint();
    EXPECT_TRUE(s.Contains("wait sound 157"));
    EXPECT_EQ(s.State().gameIndex, 1);
    EXPECT_EQ(s.State().gameOver, 0);
}

TEST(Sets, ARepaintAfterTheSetRedrawsTheRecapAndStartsNothing) {
    Set s;
    for (int game = 0; game < 5; ++game) {
        s.TimeOut();
        s.RestEnds();
    }
    s.log.clear();
    s.Repaint();
    EXPECT_TRUE(s.RecapShown());
    EXPECT_EQ(s.log, (Log{"kill timer 2"}));
    EXPECT_EQ(s.State().gameIndex, 4);
}

TEST(Recap, ShowsTheAverageAndTheFiveScoresRightToLeft) {
    GameState state;
    state.clientRect = {0, 0, 800, 600};
    state.anotherSetRect = {9, 71, 34, 529};
    state.setScores = {120, -30, 3640, 0, 1'255'800, 0};
    RecordingDC dc;
    DrawRecap(dc, state);

    const auto textIn = [&](const Rect& r) {
        for (const auto& t : dc.texts) {
            if (t.rect == r && t.flags != 0) {
                return t.text;
            }
        }
        return std::string("<none>");
    };
    EXPECT_EQ(textIn({69, 584, 129, 600}), " 251906");
    EXPECT_EQ(textIn({10, 584, 65, 600}), "Average");
    EXPECT_EQ(textIn({194, 584, 254, 600}), "1255800");
    EXPECT_EQ(textIn({135, 584, 190, 600}), "Game 5");
    EXPECT_EQ(textIn({694, 584, 754, 600}), "    120");
    EXPECT_EQ(textIn({635, 584, 690, 600}), "Game 1");
    EXPECT_EQ(textIn({569, 584, 629, 600}), "    -30");
    // Six red-framed boxes, then the yellow column.
    ASSERT_EQ(dc.rectangles.size(), 7u);
    EXPECT_EQ(dc.rectangles.back(), state.anotherSetRect);

    // The column spells its words downwards, fifteen pixels a letter, 25 across a gap.
    std::string letters;
    std::vector<int> offsets;
    for (const auto& t : dc.texts) {
        if (t.flags == 0 && t.rect.left == 18) {
            letters += t.text;
            offsets.push_back(t.rect.top - state.anotherSetRect.top - 18);
            EXPECT_EQ(t.font, kPanelFont);
        }
    }
    EXPECT_EQ(letters, "CLICKHERETOPLAYANOTHERSET");
    const std::vector<int> expected = {0,   15,  30,  45,  60,  85,  100, 115, 130,
                                       155, 170, 195, 210, 225, 240, 265, 280, 295,
                                       310, 325, 340, 355, 380, 395, 410};
    EXPECT_EQ(offsets, expected);
}

TEST(Recap, IsDrawnInRedFramedGreyBoxesAlongTheBottom) {
    Set s;
    for (int game = 0; game < 5; ++game) {
        s.TimeOut();
        s.RestEnds();
    }
    const int h = s.State().clientRect.bottom;
    for (int box = 0; box < 6; ++box) {
        const Rect r{69 + 125 * box, h - 16, 129 + 125 * box, h};
        EXPECT_EQ(RingPixels(s.Image(), r, kRedPixel), 2 * 60 + 2 * 14) << "box " << box;
    }
    EXPECT_EQ(RingPixels(s.Image(), s.State().anotherSetRect, 0xffffff00), 2 * 25 + 2 * 456);
}

TEST(NarrowScreen, ANarrowStartBeginsTheSetWithItsFirstGameOnceWide) {
    ViewHarness h(640, 480);
    h.Repaint();
    h.surface.Resize(800, 600);
    h.Repaint();
    EXPECT_EQ(h.State().gameIndex, 0);
    EXPECT_EQ(h.State().gameOver, 0);
    EXPECT_EQ(h.Count("wait sound 154"), 1);
    EXPECT_EQ(h.Count("wait sound 157"), 0);
    EXPECT_EQ(h.State().blockRect[0].left, 50);
}

TEST(NarrowScreen, DuringAGameItStopsTheTimersAndTheSetGoesOnWhenWideAgain) {
    Set s;
    s.surface.Resize(640, 480);
    s.Repaint();
    EXPECT_EQ(s.State().gameOver, 1);
    EXPECT_TRUE(s.timers.set.empty()) << "nothing may draw over the warning";
    s.log.clear();
    s.PressIn(4, 80, 40);
    EXPECT_TRUE(s.log.empty());

    s.surface.Resize(1024, 768);
    s.Repaint();
    EXPECT_EQ(s.State().gameIndex, 1) << "the interrupted game is over; the next one starts";
    EXPECT_EQ(s.State().gameOver, 0);
    EXPECT_EQ(s.State().blockRect[0].left, (1024 - 700) / 2) << "the board follows the screen";
    EXPECT_EQ(s.State().anotherSetRect.top, (768 - 458) / 2);
    EXPECT_EQ(s.timers.set.count(kClockTimer), 1u);
}

TEST(NarrowScreen, AtTheRecapTheWideRepaintRedrawsItAtTheNewBottom) {
    Set s;
    for (int game = 0; game < 5; ++game) {
        s.TimeOut();
        s.RestEnds();
    }
    s.surface.Resize(600, 400);
    s.Repaint();
    s.surface.Resize(900, 700);
    s.Repaint();
    EXPECT_EQ(s.State().gameIndex, 4);
    EXPECT_TRUE(s.RecapShown());
    EXPECT_EQ(s.State().recapValueRect.bottom, 700);
    s.Press(s.State().anotherSetRect.left, s.State().anotherSetRect.top);
    EXPECT_EQ(s.State().gameIndex, 0) << "the column answers where it is drawn now";
}

TEST(NarrowScreen, APressWhereTheColumnStoodWhileTheWarningShowsStartsNoSet) {
    Set s;
    for (int game = 0; game < 5; ++game) {
        s.TimeOut();
        s.RestEnds();
    }
    const Rect column = s.State().anotherSetRect;
    s.surface.Resize(600, 800);
    s.Repaint();
    s.log.clear();
    s.Press(column.left, column.top);
    s.Press(column.right, column.bottom);
    EXPECT_TRUE(s.log.empty()) << "the red warning is all there is to press on";
    EXPECT_EQ(s.State().gameIndex, 4);
    EXPECT_EQ(s.State().boardInitialized, 1);
    EXPECT_TRUE(s.view->PicturesLoaded());

    s.surface.Resize(800, 600);
    s.Repaint();
    EXPECT_TRUE(s.RecapShown()) << "the set is still over once wide again";
}

}  // namespace
}  // namespace tessaform::testing
