// The game's view: its three handlers and every step of the flow of games and sets.
#include "GameView.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "Arrangements.h"
#include "BlockDrawing.h"
#include "Deal.h"
#include "HitTest.h"
#include "Invariants.h"
#include "Layout.h"
#include "Recap.h"
#include "Scoring.h"
#include "Strip.h"
#include "TimeText.h"

namespace tessaform {

GameView::GameView(ViewPorts ports, DissolvePacing pacing)
    : ports_(std::move(ports)), pacing_(pacing) {}

// ---- Repaint ---------------------------------------------------------------

GameView::Handling::Handling(GameView& view) : view_(view) {
    ++view_.handling_;
}

// A modal box runs handlers inside another, which has not finished: only the
// outermost leaves the game whole, from the first repaint on.
GameView::Handling::~Handling() {
    if (--view_.handling_ == 0) {
        assert(view_.State().boardInitialized == 0 ||
               BrokenInvariant(view_.State(), kMinimumClientWidth).empty());
    }
}

void GameView::OnDraw(DeviceContext& dc) {
    const Handling handling(*this);
    GameState& s = state_;
    WriteTitle();

    s.clientRect = ports_.surface.ClientRect();
    dc.SetTransparentBackground();

    if (s.clientRect.right < kMinimumClientWidth) {
        dc.FillRect(s.clientRect, kRed);
        dc.SelectFont(kBannerFont);
        dc.SetTextColor(kBlue);
        dc.DrawText(kNarrowScreenMessage, s.clientRect, kDtCenter | kDtWordBreak);
        dc.Describe(s.clientRect, kNarrowScreenMessage);
        s.gameOver = 1;
        SuspendForNarrowScreen();
        Log("narrow " + std::to_string(s.clientRect.right) + "x" +
            std::to_string(s.clientRect.bottom));
        return;
    }

    dc.FillRect(s.clientRect, kGrey);
    if (s.boardInitialized == 0) {
        FirstGameOfSet(dc);
    } else if (narrowScreenSeen_ || s.clientRect != laidOutFor_) {
        // The screen or its work area changed size under the game: the board follows it.
        LayOut();
    }
    narrowScreenSeen_ = false;

    for (int k = 0; k < kBlockCount; ++k) {
        if (s.blockStatus[k] == kLost) {
            continue;
        }
        Blit(dc, k, s.blockArrangement[k]);
        if (s.blockStatus[k] == kMatched) {
            FrameBlock(dc, s, k, kGreen);
        }
    }
    FrameBlock(dc, s, kMasterBlock, kRed);

    ClockCheck(dc);
}

void GameView::WriteTitle() {
    GameState& s = state_;
    s.titleTime = ports_.clock.Now();
    s.titleTimeText = ports_.clock.FormatLocal(s.titleTime);
    s.titleText = kTitleNotice + s.titleTimeText + kTitleVersion;
    if (ports_.setDocumentTitle) {
        ports_.setDocumentTitle(s.titleText);
    }
}

// While the warning shows, no timer may draw over it or run games on unseen;
// the game in play is over, and the next wide repaint goes on with the set.
void GameView::SuspendForNarrowScreen() {
    ports_.timers.KillTimer(kClockTimer);
    ports_.timers.KillTimer(kRestTimer);
    state_.clockRunning = 0;
    narrowScreenSeen_ = true;
}

void GameView::FirstGameOfSet(DeviceContext& dc) {
    GameState& s = state_;
    // A set that could not start on a narrow screen starts now, with its first game.
    s.gameOver = 0;
    DrawDeal(s, ports_.random);
    s.blockStatus.fill(kOpen);
    s.blockClicks.fill(0);
    s.blockStatus[kMasterBlock] = kMatched;
    BuildDissolveOrder(s);
    AssignDeal(s);
    LoadPictures();
    LayOut();
    LogDeal();

    DrawOpeningFigure(dc, s.clientRect);
    WaitForSound(154);
    dc.FillRect(s.clientRect, kGrey);

    if (s.clockRunning == 0) {
        StartClock();
    }
    s.boardInitialized = 1;
}

void GameView::LayOut() {
    ComputeBoardOrigin(state_);
    ComputeBlockRects(state_);
    ComputePanelLayout(state_);
    laidOutFor_ = state_.clientRect;
    LogLayout();
}

void GameView::LoadPictures() {
    for (int a = 0; a < kArrangementCount; ++a) {
        blockImages_[a] = LoadBitmapResource(kPictureResourceIds[a]);
    }
}

// ---- Block drawing ---------------------------------------------------------

void GameView::Blit(DeviceContext& dc, int block, int arrangement) {
    if (const auto& picture = blockImages_[arrangement]) {
        BlitBlock(dc, state_, block, *picture);
    }
}

void GameView::DrawArrangement(int column, int row, int arrangement) {
    const int k = BlockIndex(column, row);
    Blit(*ports_.surface.OpenClientDC(), k, arrangement);
    if (state_.blockClicks[k] < kMaxBlockClicks) {
        ++state_.blockClicks[k];
    }
}

void GameView::RedrawBlock(int column, int row) {
    const int k = BlockIndex(column, row);
    Blit(*ports_.surface.OpenClientDC(), k, state_.blockArrangement[k]);
}

// ---- Clicks ----------------------------------------------------------------

void GameView::OnLButtonDown(int x, int y) {
    const Handling handling(*this);
    GameState& s = state_;
    if (s.gameOver == 1) {
        // The warning covers the column: a press where it stood must not start a set.
        if (!narrowScreenSeen_ && s.anotherSetRect.ContainsWithEdges(x, y) && s.gameIndex > 3) {
            NewSet();
        }
        return;
    }

    const int k = BlockAt(s, x, y);
    if (k == kNoBlock || k == kMasterBlock || s.blockStatus[k] == kLost) {
        return;
    }
    const int column = ColumnOf(k);
    const int row = RowOf(k);
    const int arrow = ArrowAt(s, x - s.blockRect[k].left, y - s.blockRect[k].top);
    if (arrow != kNoArrow) {
        s.blockArrangement[k] = ApplyArrow(s.blockArrangement[k], arrow);
        Log("move block " + std::to_string(k) + " arrow " + std::to_string(arrow) + ": " +
            std::to_string(s.blockArrangement[k]));
        DrawArrangement(column, row, s.blockArrangement[k]);
        ResolveBlock(column, row);
    } else {
        Log("miss block " + std::to_string(k));
        LoseBlocks(column, row, column, row);
    }
    EvaluateBoard();
}

// ---- Matches and losses ----------------------------------------------------

void GameView::ResolveBlock(int column, int row) {
    GameState& s = state_;
    const int k = BlockIndex(column, row);
    if (s.blockArrangement[k] == s.blockArrangement[kMasterBlock]) {
        if (!PlayAsyncInThisGame(156)) {
            return;
        }
        FrameBlock(*ports_.surface.OpenClientDC(), s, k, kGreen);
        s.blockStatus[k] = kMatched;
        Log("match block " + std::to_string(k));
        return;
    }
    s.blockStatus[k] = kOpen;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const int j = BlockIndex(c, r);
            if (j == k || j == kMasterBlock || s.blockStatus[j] == kLost) {
                continue;
            }
            if (s.blockArrangement[j] == s.blockArrangement[k]) {
                Log("collide blocks " + std::to_string(k) + " " + std::to_string(j));
                auto dc = ports_.surface.OpenClientDC();
                FrameBlock(*dc, s, k, kBlack);
                FrameBlock(*dc, s, j, kBlack);
                WaitForSound(155);
                LoseBlocks(column, row, c, r);
                return;
            }
        }
    }
}

void GameView::LoseBlocks(int column1, int row1, int column2, int row2) {
    GameState& s = state_;
    const int a = BlockIndex(column1, row1);
    const int b = BlockIndex(column2, row2);
    s.blockStatus[b] = kLost;
    s.blockStatus[a] = kLost;
    Log("lose blocks " + std::to_string(a) + " " + std::to_string(b));
    if (!PlayAsyncInThisGame(159)) {
        return;
    }
    DissolveBlocks(*ports_.surface.OpenClientDC(), s, a, b, pacing_.frames, [this] {
        ports_.surface.ShowNow();
        ports_.timers.Wait(pacing_.frameTime);
    });
}

// ---- Clock and the end of a game ---------------------------------------------

TimeSpan GameView::SecondsLeft() const {
    return kGameSeconds - (state_.now - state_.gameStartTime);
}

bool GameView::TimeIsUp() const {
    return SecondsLeft() <= 0;
}

void GameView::SetTimeLeft(TimeSpan seconds) {
    state_.timeLeft = std::max<TimeSpan>(seconds, 0);
    state_.timeLeftText = FormatTimeLeft(state_.timeLeft);
}

void GameView::ShowTimeLeft(TimeSpan seconds) {
    SetTimeLeft(seconds);
    DrawTimeBox();
}

void GameView::OnTimer(int /*id: the phase decides, not the timer*/) {
    const Handling handling(*this);
    if (state_.gameOver == 1) {
        EndOfRest();
    } else {
        ClockTick();
    }
}

void GameView::ClockTick() {
    GameState& s = state_;
    s.now = ports_.clock.Now();
    if (TimeIsUp()) {
        if (s.timeExpired == 0 && !EndOfGame(false)) {
            return;
        }
        s.timeExpired = 1;
    }
    ShowTimeLeft(SecondsLeft());
}

void GameView::EvaluateBoard() {
    GameState& s = state_;
    TallyBoard(s);

    if (s.allResolved == 1) {
        if (!EndOfGame(true)) {
            return;
        }
        s.now = ports_.clock.Now();
        if (!TimeIsUp()) {
            ShowTimeLeft(SecondsLeft());
            s.bonusIndex = BonusIndexFor(s.timeLeft);
            DrawScorePanel(true);
            return;
        }
    } else if (s.timeExpired == 0) {
        s.now = ports_.clock.Now();
        if (!TimeIsUp()) {
            DrawScorePanel(false);  // the time box is the tick's
            return;
        }
        if (!EndOfGame(false)) {
            return;
        }
    }
    // Over by time, now or while the click was handled.
    s.timeExpired = 1;
    ShowTimeLeft(0);
    DrawScorePanel(false);
}

bool GameView::EndOfGame(bool completed, bool withSound) {
    GameState& s = state_;
    ports_.timers.KillTimer(kClockTimer);
    if (completed) {
        s.clockRunning = 0;
    }
    if (withSound && !PlayAsyncInThisGame(158)) {
        return false;
    }
    s.gameOver = 1;
    Log("game " + std::to_string(s.gameIndex + 1) + (completed ? " over: done" : " over: time"));
    if (!ports_.timers.SetTimer(kRestTimer, s.restInterval)) {
        TellNoTimer();
        return false;
    }
    if (!completed) {
        s.clockRunning = 0;
        s.timeExpired = 1;
    }
    return true;
}

void GameView::ClockCheck(DeviceContext& dc) {
    GameState& s = state_;
    if (s.allResolved == 0 && s.timeExpired == 0) {
        s.now = ports_.clock.Now();
        if (TimeIsUp() && !EndOfGame(false, false)) {
            return;
        }
    }
    SetTimeLeft(SecondsLeft());
    tessaform::DrawTimeBox(dc, s);
    if (s.timeLeft > 0) {
        s.bonusIndex = BonusIndexFor(s.timeLeft);
    }
    tessaform::DrawScorePanel(dc, s, s.timeLeft > 0);
    if (s.gameOver == 1) {
        OnTimer(kClockTimer);
    }
}

void GameView::StartClock() {
    if (ports_.timers.SetTimer(kClockTimer, state_.clockInterval)) {
        state_.clockRunning = 1;
        state_.gameStartTime = ports_.clock.Now();
    } else {
        TellNoTimer();
    }
}

// ---- Games and sets ----------------------------------------------------------

void GameView::PerGameReset() {
    GameState& s = state_;
    ++gamesStarted_;
    s.gameOver = 0;
    s.allResolved = 0;
    s.timeExpired = 0;
    s.matchCount = 0;
    s.clickCost = 0;
    s.matchScore = 10;
    s.bonusIndex = 0;
}

void GameView::EndOfRest() {
    ports_.timers.KillTimer(kRestTimer);
    LogScore();
    if (state_.gameIndex > 3) {
        DrawRecap(*ports_.surface.OpenClientDC(), state_);
        std::string line = "recap:";
        for (int game = 0; game < kSetLength; ++game) {
            line += " " + std::to_string(state_.setScores[game]);
        }
        Log(line + " average " + std::to_string(SetAverage(state_.setScores)));
        return;
    }
    NextGame();
}

void GameView::NextGame() {
    GameState& s = state_;
    WaitForSound(157);
    WaitForSound(154);
    s.gameIndex += 1;
    PerGameReset();
    StartClock();
    Deal(s, ports_.random);
    LogDeal();
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const int k = BlockIndex(column, row);
            s.blockStatus[k] = kOpen;
            s.blockClicks[k] = 0;
            RedrawBlock(column, row);
        }
    }
    FrameBlock(*ports_.surface.OpenClientDC(), s, kMasterBlock, kRed);
    s.blockStatus[kMasterBlock] = kMatched;
    DrawTimeBox();
    DrawScorePanel(false);
}

void GameView::NewSet() {
    Log("new set");
    state_.gameIndex = 0;
    state_.boardInitialized = 0;
    PerGameReset();
    OnDraw(*ports_.surface.OpenClientDC());
}

// ---- Strip -------------------------------------------------------------------

void GameView::DrawTimeBox() {
    tessaform::DrawTimeBox(*ports_.surface.OpenClientDC(), state_);
}

void GameView::DrawScorePanel(bool bonusAllowed) {
    tessaform::DrawScorePanel(*ports_.surface.OpenClientDC(), state_, bonusAllowed);
}

// ---- Waiting -------------------------------------------------------------------

void GameView::WaitForSound(int id) {
    ports_.surface.ShowNow();
    ports_.sound.PlaySoundSync(id);
}

// The one-time sound warning is modal and its loop goes on running the game's
// timers: behind it the rest may end and the next game be dealt. What the
// caller meant to do after the sound belongs to the game that played it.
bool GameView::PlayAsyncInThisGame(int id) {
    const int game = gamesStarted_;
    ports_.sound.PlaySoundAsync(id);
    return gamesStarted_ == game;
}

// ---- The log ---------------------------------------------------------------------

void GameView::Log(const std::string& line) {
    if (ports_.log) {
        ports_.log(line);
    }
}

void GameView::LogLayout() {
    const GameState& s = state_;
    Log("layout " + std::to_string(s.clientRect.right) + "x" + std::to_string(s.clientRect.bottom) +
        " board " + std::to_string(s.boardLeft) + "," + std::to_string(s.boardTop));
}

void GameView::LogDeal() {
    std::string line = "deal game " + std::to_string(state_.gameIndex + 1) + ":";
    for (int arrangement : state_.blockArrangement) {
        line += " " + std::to_string(arrangement);
    }
    Log(line);
}

// Once per game, when its rest ends: by then the panel has stored the final net.
void GameView::LogScore() {
    const GameState& s = state_;
    if (scoreLoggedFor_ == gamesStarted_) {
        return;
    }
    scoreLoggedFor_ = gamesStarted_;
    const std::int32_t net = s.setScores[s.gameIndex];
    Log("score game " + std::to_string(s.gameIndex + 1) + ": match " +
        std::to_string(s.matchScore) + " clicks " + std::to_string(s.clickCost) + " bonus " +
        std::to_string(net - s.matchScore + s.clickCost) + " net " + std::to_string(net));
}

void GameView::TellNoTimer() {
    ports_.surface.ShowNow();
    ports_.messages.ShowMessage(kNoTimerMessage, kNoTimerCaption, MessageIcon::kExclamation);
}

}  // namespace tessaform
