#pragma once

// A whole program run of the game's view, driven by a seeded stream of random
// events: presses anywhere, ticks of the timers that are set, repaints, the
// calendar clock jumping, refused timers, failing sounds, modal boxes that
// deliver ticks while open, presses queued while the thread is held, and the
// screen turning narrow and wide. After every event the game's invariants are
// checked; the first broken one ends the run with the seed and the last events.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "GameView.h"
#include "ImageSurface.h"
#include "SoundPlayer.h"

namespace tessaform::soak {

using Rng = std::mt19937_64;

// What the last score panel showed, read off the texts drawn into its boxes.
struct PanelDraw {
    int gameIndex = 0;
    std::int64_t bonus = 0;
    std::int64_t clickCost = 0;
    std::int64_t matchScore = 0;
    std::int64_t net = 0;
};

// Forwards to the real context when there is one, and reads the panel's numbers.
class TapDC final : public DeviceContext {
public:
    TapDC(std::unique_ptr<DeviceContext> inner, const GameState* state,
          std::function<void(const PanelDraw&)> onPanel);

    void SelectPen(Rgb c) override;
    void SelectBrush(Rgb c) override;
    void SelectFont(const FontSpec& f) override;
    void SetTextColor(Rgb c) override;
    void SetTransparentBackground() override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(const Rect& r) override;
    void FillRect(const Rect& r, Rgb b) override;
    void SetPixel(int x, int y, Rgb c) override;
    void BitBlt(int x, int y, int w, int h, const Picture& p) override;
    void DrawText(std::string_view text, const Rect& r, unsigned flags) override;
    void TextOut(int x, int y, std::string_view text) override;
    int TextWidth(std::string_view text) override;

private:
    std::unique_ptr<DeviceContext> inner_;
    const GameState* state_;
    std::function<void(const PanelDraw&)> onPanel_;
    PanelDraw draw_;
};

// The client area: either no pixels at all (fast) or the real QImage surface.
class SoakSurface final : public DrawingSurface {
public:
    explicit SoakSurface(bool realPixels);
    void Resize(int width, int height);
    std::unique_ptr<DeviceContext> OpenClientDC() override;
    Rect ClientRect() const override { return {0, 0, width_, height_}; }
    void ShowNow() override;

    const QImage* Image() const { return image_ ? &image_->Image() : nullptr; }
    const GameState* state = nullptr;
    std::function<void(const PanelDraw&)> onPanel;
    std::function<void()> onShow;

private:
    std::unique_ptr<ImageSurface> image_;
    int width_ = 800;
    int height_ = 600;
};

class SoakTimers final : public TimerPort {
public:
    bool SetTimer(int id, unsigned intervalMs) override;
    void KillTimer(int id) override { set.erase(id); }
    std::map<int, unsigned> set;
    std::set<int> refuse;
};

// Whole seconds of a calendar clock that the run moves on in milliseconds.
class SoakClock final : public ClockPort {
public:
    CalendarTime Now() override { return 1'700'000'000 + static_cast<CalendarTime>(ms / 1000); }
    std::string FormatLocal(CalendarTime time) override { return std::to_string(time); }
    std::uint64_t ms = 0;
};

class SoakMessages final : public MessageBoxPort {
public:
    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    std::function<void(const std::string& text)> whileOpen;
};

class SoakRandom final : public RandomSource {
public:
    explicit SoakRandom(std::uint64_t seed) : engine_(seed) {}
    int Next() override { return static_cast<int>(engine_() & 0x7fffffff); }

private:
    std::mt19937 engine_;
};

// How sound behaves in one run of the program.
enum class SoundMode {
    kWorks,    // every sound plays; waiting ones take their length
    kFlaky,    // now and then the device is busy and a sound cannot start
    kNoDevice  // the real player over SDL with no device it can open
};

class SoakSound final : public SoundPort {
public:
    SoakSound(SoundMode mode, MessageBoxPort& messages, Rng& rng);
    void PlaySoundSync(int id) override;
    void PlaySoundAsync(int id) override;
    // Called while a waiting sound holds the thread: the clock moves on meanwhile.
    std::function<void(int id, std::uint64_t lengthMs)> duringWait;
    SoundMode mode;

private:
    bool Busy();
    MessageBoxPort& messages_;
    Rng& rng_;
    std::unique_ptr<SoundPlayer> player_;
    int warningShown_ = 0;
};

struct Options {
    std::uint64_t seed = 1;
    long events = 1'000'000;
    bool realPixels = false;
};

struct Outcome {
    long events = 0;
    long sessions = 0;
    long games = 0;
    long sets = 0;
    long soundWarnings = 0;
    long noTimerBoxes = 0;
    long queuedPresses = 0;
    std::optional<std::string> failure;  // with the seed and the last events
};

Outcome Run(const Options& options);

}  // namespace tessaform::soak
