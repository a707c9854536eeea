// One small fake per port of the game's view, each writing what it was asked into one
// shared log, so that a test reads the order of every effect ("show", "wait sound
// collision", "start sound loss"); and the view on them, driven through its handlers.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "GameView.h"
#include "PixelSurface.h"
#include "QtFonts.h"
#include "TimeText.h"

namespace tessaform::testing {

using Log = std::vector<std::string>;
Log Join(std::initializer_list<Log> parts);

// As the desktop's timers do, setting an id that is set restarts it.
struct FakeTimers final : TimerPort {
    explicit FakeTimers(Log& log) : log(log) {}
    bool SetTimer(int id, unsigned intervalMs) override {
        log.push_back("set " + Name(id) + " timer");
        set.erase(id);
        return refused.count(id) == 0 && set.emplace(id, intervalMs).second;
    }
    void KillTimer(int id) override {
        log.push_back("kill " + Name(id) + " timer");
        set.erase(id);
    }
    void Wait(std::chrono::milliseconds time) override {
        log.push_back("wait " + std::to_string(time.count()) + " ms");
    }
    static std::string Name(int id) { return id == kClockTimer ? "clock" : "rest"; }
    Log& log;
    std::map<int, unsigned> set;  // id: interval
    std::set<int> refused;
};

inline constexpr CalendarTime kFirstSecond = 1'000'000;

// Stands still but for what a test passes and the sounds that are waited for.
struct FakeClock final : ClockPort {
    CalendarTime Now() override { return kFirstSecond + ms / 1000; }
    std::string FormatLocal(CalendarTime time) override { return "time " + std::to_string(time); }
    std::int64_t ms = 0;
};

// Modal: `whileOpen` stands for the box's own loop, which goes on delivering the game's
// timers and repaints.
struct FakeMessages final : MessageBoxPort {
    explicit FakeMessages(Log& log) : log(log) {}
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override {
        log.push_back("message " + text + " / " + caption);
        whileOpen(text);
    }
    Log& log;
    std::function<void(const std::string& text)> whileOpen = [](const std::string&) {};
};

// A waited sound holds the clock for its real length. One that `fails` is skipped, and
// the first that fails to start shows the desktop player's one-time warning.
class Game;
struct FakeSound final : SoundPort {
    explicit FakeSound(Game& game) : game(game) {}
    void PlaySoundSync(int id) override;
    void PlaySoundAsync(int id) override;
    bool Plays(int id, const std::string& how);
    Game& game;  // its log, clock and boxes
    std::function<bool()> fails;
    bool warned = false;
};

// Every draw 0, which deals the arrangements in order (block k holds k), until seeded.
struct FakeRandom final : RandomSource {
    int Next() override { return seeded ? seeded->Next() : 0; }
    std::optional<SeededRandom> seeded;
};

struct TextDrawn {
    std::string text;
    Rect rect;
    unsigned flags = 0;
    const GlyphFont* font = nullptr;  // as the screen drew it
};

// The screen's own surface in the desktop's fonts, so that a test sees the pixels a player
// would. Its contexts note each text, and each pixel set while `pixels` is there.
struct FakeSurface final : DrawingSurface {
    FakeSurface(Log& log, int width, int height) : log(log) { screen.Resize(width, height); }
    std::unique_ptr<DeviceContext> OpenClientDC() override;
    Rect ClientRect() const override { return screen.ClientRect(); }
    void ShowNow() override {
        log.push_back("show");
        whenShown();
    }
    // Pixels of the colour in the rectangle; whether its outermost ring is all of the colour.
    int Count(const Rect& r, Rgb colour) const;
    bool Framed(const Rect& r, Rgb colour) const {
        const Rect inside{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
        return Count(r, colour) - Count(inside, colour) == 2 * (r.Width() + r.Height()) - 4;
    }
    Log& log;
    PixelSurface screen{1, 1, DesktopFonts()};
    std::vector<TextDrawn> texts;
    std::optional<std::vector<std::pair<int, int>>> pixels;
    std::function<void()> whenShown = [] {};
};

// The view on its fakes, and what a player and the passing time do to it, each step
// through one of its handlers: a repaint, a press, a timer's tick.
class Game {
public:
    explicit Game(int width = 792, int height = 560, DissolvePacing pacing = {0, {}});
    Game& Repaint() { return view.OnDraw(*surface.OpenClientDC()), *this; }
    Game& Press(int x, int y) { return view.OnLButtonDown(x, y), *this; }
    Game& PressArrow(int block, int arrow, int times = 1);
    // A press inside the block, off its arrows.
    Game& Miss(int block) { return Press(Block(block).left + 30, Block(block).top + 30); }
    // The clock reads this many seconds into the game.
    Game& At(TimeSpan seconds) {
        return clock.ms = (State().gameStartTime + seconds - kFirstSecond) * 1000, *this;
    }
    Game& Tick() { return view.OnTimer(kClockTimer), *this; }
    // A second on, the rest timer's tick.
    Game& EndRest() { return clock.ms += 1000, view.OnTimer(kRestTimer), *this; }
    Game& RunOut() { return At(kGameSeconds).Tick().EndRest(); }
    // Blocks 2 to 11 of a deal in order matched, each the shortest way that meets no open
    // block: four in a move, six in two.
    Game& MatchAllButBlock1();
    // The log and the texts so far.
    Game& Forget() { return log.clear(), surface.texts.clear(), *this; }
    // The screen's size, and the window repaints.
    Game& Resize(int width, int height) { return surface.screen.Resize(width, height), Repaint(); }

    const GameState& State() const { return view.State(); }
    const Rect& Block(int k) const { return State().blockRect[k]; }
    // Blocks 0 to 11: 'x' grey, 'r', 'g' or 'k' framed red, green or black, else '.'.
    std::string Board() const;
    bool BonusShows() const;  // anything where the bonus's label and box go

    Log log;
    FakeSurface surface;
    FakeTimers timers{log};
    FakeClock clock;
    FakeMessages messages{log};
    FakeSound sound{*this};
    FakeRandom random;
    GameView view;
};

std::string DealLine(int game);  // of a deal in order
// The end of a game by "time" (its clock, or a press once the time is up) or "done" (its last
// block); the repaint that finds the time up ends it without the sound. Then from the rest
// timer's tick to the next deal.
Log Over(int game, const std::string& how = "time", bool withSound = true);
Log Rest(int game, const std::string& score = "match 10 clicks 0 bonus 0 net 10");

}  // namespace tessaform::testing
