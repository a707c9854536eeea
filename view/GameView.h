// The game's view, and the ports it reaches the window, timers, clock and sound through.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "DeviceContext.h"
#include "GameState.h"
#include "Picture.h"
#include "Ports.h"
#include "Random.h"

namespace tessaform {

inline constexpr int kClockTimer = 1;
inline constexpr int kRestTimer = 2;

inline constexpr const char* kNarrowScreenMessage =
    "THIS GAME WILL NOT RUN AT RESOLUTIONS BELOW 800x600. PLEASE QUIT NOW BY PRESSING THE Alt "
    "and F4 KEYS.";
inline constexpr const char* kNoTimerMessage = "No timer available";
inline constexpr const char* kNoTimerCaption = "SDI:TESSAFORM";

// The maker's notice that opens the title; the time of the repaint follows it.
inline constexpr const char* kTitleNotice = "Tessaform  (C) 2026 the Tessaform developers -- ";
inline constexpr const char* kTitleVersion = " -- Version P504 of";

// What a screen reader calls the board and says of it.
inline constexpr const char* kBoardName = "Tessaform board";
inline constexpr const char* kBoardDescription =
    "Twelve blocks of four shapes. Click the arrows inside a block to make it match the "
    "red-framed master, without making it equal to another block, before the time runs out.";

// The about box's texts.
inline constexpr const char* kAboutCaption = "About Tessaform";
inline constexpr const char* kAboutVersion = "Tessaform Version P504";
inline constexpr const char* kAboutNotice = "(C) 2026 the Tessaform developers";

// Everything the game's view reaches outside itself.
struct ViewPorts {
    DrawingSurface& surface;
    TimerPort& timers;
    ClockPort& clock;
    SoundPort& sound;
    MessageBoxPort& messages;
    RandomSource& random;
    std::function<void(const std::string&)> setDocumentTitle;
    // What the game did, one line at a time, for the program's log.
    std::function<void(const std::string&)> log = {};
};

// How long the grey dissolve takes on screen; no frames means no pauses (tests).
struct DissolvePacing {
    int frames = 15;
    std::chrono::milliseconds frameTime{50};
};

// The game's view: the state and the three handlers (repaint, left-button press,
// timer) with every step of the game flow they run. It draws through the
// surface's contexts and reaches timers, clock, sound and message boxes only
// through its ports.
class GameView {
public:
    explicit GameView(ViewPorts ports, DissolvePacing pacing = {});

    void OnDraw(DeviceContext& dc);
    void OnLButtonDown(int x, int y);
    void OnTimer(int id);

    // The title with the time of now, as every repaint writes it; a front end may write it
    // before the first, so that its window never shows another.
    void WriteTitle();

    GameState& State() { return state_; }
    const GameState& State() const { return state_; }

    // Block drawing.
    void DrawArrangement(int column, int row, int arrangement);
    void RedrawBlock(int column, int row);

    // Resolution, evaluation and the flow of games and sets.
    void ResolveBlock(int column, int row);
    void LoseBlocks(int column1, int row1, int column2, int row2);
    void EvaluateBoard();
    void DrawTimeBox();
    void DrawScorePanel(bool bonusAllowed);

private:
    // Held by each handler; debug builds check the game's invariants as the
    // outermost ends.
    class Handling {
    public:
        explicit Handling(GameView& view);
        ~Handling();

    private:
        GameView& view_;
    };

    void FirstGameOfSet(DeviceContext& dc);
    void SuspendForNarrowScreen();
    void ClockCheck(DeviceContext& dc);
    void ClockTick();
    // False when another game began while the end-of-game sound's warning box was
    // open, or when the rest timer was refused: the caller's step stops there. The
    // repaint's clock check ends a game silently.
    bool EndOfGame(bool completed, bool withSound = true);
    void EndOfRest();
    void NextGame();
    void NewSet();
    void StartClock();
    void PerGameReset();
    // The board, the strip and the column for the client area as it is now.
    void LayOut();
    void LoadPictures();

    // From the last clock reading; the game lasts kGameSeconds.
    TimeSpan SecondsLeft() const;
    bool TimeIsUp() const;
    void SetTimeLeft(TimeSpan seconds);
    void ShowTimeLeft(TimeSpan seconds);
    void WaitForSound(int id);
    // False when another game began while the sound's warning box was open.
    bool PlayAsyncInThisGame(int id);
    void TellNoTimer();
    void Blit(DeviceContext& dc, int block, int arrangement);
    void Log(const std::string& line);
    void LogLayout();
    void LogDeal();
    void LogScore();

    GameState state_;
    ViewPorts ports_;
    DissolvePacing pacing_;
    std::array<std::optional<Picture>, kArrangementCount> blockImages_;
    bool narrowScreenSeen_ = false;
    Rect laidOutFor_;  // the client area of the last layout
    int gamesStarted_ = 0;
    int scoreLoggedFor_ = -1;
    int handling_ = 0;
};

}  // namespace tessaform
