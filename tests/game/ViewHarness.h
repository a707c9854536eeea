#pragma once

// Fakes of every port the game's view uses, recording one shared log of events
// in the order they happen, and a harness that builds a view on a QImage surface.

#include <QImage>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "GameView.h"
#include "ImageSurface.h"

namespace tessaform::testing {

using Log = std::vector<std::string>;

class FakeTimers : public TimerPort {
public:
    explicit FakeTimers(Log& log) : log_(log) {}
    bool SetTimer(int id, unsigned intervalMs) override {
        log_.push_back("set timer " + std::to_string(id));
        if (refuse.count(id) != 0) {
            return false;
        }
        set[id] = intervalMs;
        return true;
    }
    void KillTimer(int id) override {
        log_.push_back("kill timer " + std::to_string(id));
        set.erase(id);
    }
    std::map<int, unsigned> set;  // id -> interval
    std::set<int> refuse;

private:
    Log& log_;
};

class FakeClock : public ClockPort {
public:
    CalendarTime Now() override { return now; }
    std::string FormatLocal(CalendarTime time) override { return "time " + std::to_string(time); }
    CalendarTime now = 1'000'000;
};

class FakeSound : public SoundPort {
public:
    explicit FakeSound(Log& log) : log_(log) {}
    void PlaySoundSync(int id) override {
        log_.push_back("wait sound " + std::to_string(id));
        if (onPlay) {
            onPlay(id, true);
        }
    }
    void PlaySoundAsync(int id) override {
        log_.push_back("start sound " + std::to_string(id));
        if (onPlay) {
            onPlay(id, false);
        }
    }
    std::function<void(int id, bool waits)> onPlay;

private:
    Log& log_;
};

class FakeMessages : public MessageBoxPort {
public:
    explicit FakeMessages(Log& log) : log_(log) {}
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override {
        log_.push_back("message " + text + " / " + caption);
        if (whileOpen) {
            whileOpen();
        }
    }
    std::function<void()> whileOpen;  // what the box's own loop delivers meanwhile

private:
    Log& log_;
};

// Deals from a fixed list of draws when given one, else from a seeded generator.
class TestRandom : public RandomSource {
public:
    int Next() override {
        if (next_ < draws.size()) {
            return draws[next_++];
        }
        return seeded_.Next();
    }
    std::vector<int> draws;

private:
    std::size_t next_ = 0;
    SeededRandom seeded_{7};
};

struct ViewHarness {
    explicit ViewHarness(int width = 792, int height = 560);

    // The first repaint: deals, lays out and starts the clock.
    void Repaint();
    void Press(int x, int y) { view->OnLButtonDown(x, y); }
    // A press at (dx, dy) inside block k.
    void PressIn(int block, int dx, int dy);
    // A press on the given arrow's centre inside block k.
    void PressArrow(int block, int arrow);
    void Tick(int id = 1) { view->OnTimer(id); }
    // Gives the block the arrangement and draws it, as if it had been dealt so.
    void Arrange(int block, int arrangement);
    // The arrow that turns block k into `target`, or -1 when none does in one move.
    int ArrowTo(int block, int target) const;
    // Finds how many log entries match exactly.
    int Count(const std::string& entry) const;
    // The log entries from index `from` on.
    Log Since(std::size_t from) const { return Log(log.begin() + from, log.end()); }

    GameState& State() { return view->State(); }
    const QImage& Image() const { return surface.Image(); }
    QRgb PixelIn(int block, int dx, int dy) const;

    Log log;
    ImageSurface surface{1, 1};
    FakeTimers timers{log};
    FakeClock clock;
    FakeSound sound{log};
    FakeMessages messages{log};
    TestRandom random;
    std::string documentTitle;
    std::unique_ptr<GameView> view;
};

// A dealt board whose blocks hold arrangements 0 to 11 in order: the master is 0.
struct DealtGame : ViewHarness {
    DealtGame();
    // A block and the arrow that moves it onto another open block's arrangement.
    std::pair<int, int> CollidingMove() const;
    CalendarTime start = 0;
};

// Pixel counts of a colour inside a rectangle of the image.
int CountColour(const QImage& image, const Rect& r, QRgb colour);
bool AllColour(const QImage& image, const Rect& r, QRgb colour);
// Pixels of the square's outermost ring in the colour.
int RingPixels(const QImage& image, const Rect& r, QRgb colour);

// Records what a context is asked to write and where, drawing nothing.
class RecordingDC : public DeviceContext {
public:
    struct Text {
        std::string text;
        Rect rect;  // TextOut: the point as left and top
        unsigned flags;
        FontSpec font;
    };
    void SelectPen(Rgb) override {}
    void SelectBrush(Rgb) override {}
    void SelectFont(const FontSpec& font) override { font_ = font; }
    void SetTextColor(Rgb) override {}
    void SetTransparentBackground() override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Rectangle(const Rect& r) override { rectangles.push_back(r); }
    void FillRect(const Rect&, Rgb) override {}
    void SetPixel(int x, int y, Rgb) override { pixels.emplace_back(x, y); }
    void BitBlt(int, int, int, int, const Picture&) override {}
    void DrawText(std::string_view text, const Rect& r, unsigned flags) override {
        texts.push_back({std::string(text), r, flags, font_});
    }
    void TextOut(int x, int y, std::string_view text) override {
        texts.push_back({std::string(text), {x, y, x, y}, 0, font_});
    }
    int TextWidth(std::string_view) override { return 0; }

    std::vector<Rect> rectangles;
    std::vector<std::pair<int, int>> pixels;
    std::vector<Text> texts;

private:
    FontSpec font_ = kDefaultFont;
};

inline constexpr QRgb kGreyPixel = 0xff808080;
inline constexpr QRgb kRedPixel = 0xffff0000;
inline constexpr QRgb kGreenPixel = 0xff00ff00;
inline constexpr QRgb kBlackPixel = 0xff000000;

}  // namespace tessaform::testing
