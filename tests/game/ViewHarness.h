// Every port of the game's view faked by one object that writes one log, and the
// one device context of the tests: it draws on the image and records each text.
#pragma once

#include <QImage>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "GameView.h"
#include "ImageSurface.h"

namespace tessaform::testing {

using Log = std::vector<std::string>;

struct TextDrawn {
    std::string text;
    Rect rect;  // TextOut: the point as left and top
    unsigned flags = 0;
    FontSpec font = kDefaultFont;
    friend bool operator==(const TextDrawn&, const TextDrawn&) = default;
};

// What the recording contexts saw; pixels only while asked for (a dissolve sets 204,800).
struct Record {
    std::vector<TextDrawn> texts;
    bool pixelsToo = false;
    std::vector<std::pair<int, int>> pixels;
};

class RecordingDC final : public DeviceContext {
public:
    RecordingDC(std::unique_ptr<DeviceContext> inner, Record& record)
        : inner_(std::move(inner)), record_(record) {}
    void SelectPen(Rgb c) override { inner_->SelectPen(c); }
    void SelectBrush(Rgb c) override { inner_->SelectBrush(c); }
    void SelectFont(const FontSpec& f) override { inner_->SelectFont(font_ = f); }
    void SetTextColor(Rgb c) override { inner_->SetTextColor(c); }
    void SetTransparentBackground() override { inner_->SetTransparentBackground(); }
    void MoveTo(int x, int y) override { inner_->MoveTo(x, y); }
    void LineTo(int x, int y) override { inner_->LineTo(x, y); }
    void Rectangle(const Rect& r) override { inner_->Rectangle(r); }
    void FillRect(const Rect& r, Rgb b) override { inner_->FillRect(r, b); }
    void SetPixel(int x, int y, Rgb c) override {
        if (record_.pixelsToo) {
            record_.pixels.emplace_back(x, y);
        }
        inner_->SetPixel(x, y, c);
    }
    void BitBlt(int x, int y, int w, int h, const Picture& p) override {
        inner_->BitBlt(x, y, w, h, p);
    }
    void DrawText(std::string_view text, const Rect& r, unsigned flags) override {
        record_.texts.push_back({std::string(text), r, flags, font_});
        inner_->DrawText(text, r, flags);
    }
    void TextOut(int x, int y, std::string_view text) override {
        record_.texts.push_back({std::string(text), {x, y, x, y}, 0, font_});
        inner_->TextOut(x, y, text);
    }
    int TextWidth(std::string_view text) override { return inner_->TextWidth(text); }

private:
    std::unique_ptr<DeviceContext> inner_;
    Record& record_;
    FontSpec font_ = kDefaultFont;
};

inline constexpr CalendarTime kFirstSecond = 1'000'000;

// The view on an image, with timers that may refuse, a clock that waited sounds move on
// by their real lengths, sounds that may fail (the one-time warning follows), message
// boxes whose loop runs `whileOpen`, and deals in order (from `draws`, then seeded).
struct ViewHarness : TimerPort, ClockPort, SoundPort, MessageBoxPort, RandomSource, DrawingSurface {
    explicit ViewHarness(int width = 792, int height = 560, int dissolveFrames = 0);

    // As the desktop's timers do, setting an id stops the timer it names first.
    bool SetTimer(int id, unsigned intervalMs) override {
        log.push_back("set timer " + std::to_string(id));
        timers.erase(id);
        return refuse.count(id) == 0 && timers.emplace(id, intervalMs).second;
    }
    void KillTimer(int id) override {
        log.push_back("kill timer " + std::to_string(id));
        timers.erase(id);
    }
    CalendarTime Now() override { return kFirstSecond + ms / 1000; }
    std::string FormatLocal(CalendarTime t) override { return "time " + std::to_string(t); }
    void PlaySoundSync(int id) override;
    void PlaySoundAsync(int id) override;
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override {
        log.push_back("message " + text + " / " + caption);
        if (whileOpen) {
            whileOpen(text);
        }
    }
    int Next() override;
    std::unique_ptr<DeviceContext> OpenClientDC() override {
        return std::make_unique<RecordingDC>(surface.OpenClientDC(), record);
    }
    Rect ClientRect() const override { return surface.ClientRect(); }
    void ShowNow() override { log.push_back("show"); }

    void Repaint() { view->OnDraw(*OpenClientDC()); }
    void Press(int x, int y) { view->OnLButtonDown(x, y); }
    void PressIn(int block, int dx, int dy) {
        Press(State().blockRect[block].left + dx, State().blockRect[block].top + dy);
    }
    void PressArrow(int block, int arrow);
    void Tick(int id = kClockTimer) { view->OnTimer(id); }
    // The clock reads this many seconds into the game in play.
    void At(TimeSpan seconds) { ms = (State().gameStartTime + seconds - kFirstSecond) * 1000; }
    // Runs steps separated by ';': "press X Y", "in K DX DY" (in block K), "miss K" (a press
    // in block K off its arrows), "arrow K A [times]", "at S" (seconds into the game), "wait
    // MS", "tick [ID]", "rest" (a second on, the rest timer's tick), "out" (the clock runs
    // out, then the rest), "repaint", "evaluate", "size W H", "refuse ID" and "grant"
    // (timers), "forget" (the log and the texts so far), "matched" (blocks 2 to 11 matched in
    // a move each), "clicks N" (every block).
    void Play(const std::string& steps);
    Log Take() { return std::exchange(log, {}); }

    GameState& State() { return view->State(); }
    const QImage& Image() const { return surface.Image(); }
    // Pixels of the colour in the rectangle, and on the outermost ring of a block's square.
    int Pixels(const Rect& r, Rgb colour) const;
    int Ring(int block, Rgb colour) const;
    bool Grey(int block) const;

    Log log;
    std::map<int, unsigned> timers;
    std::set<int> refuse;
    std::int64_t ms = 0;
    std::function<bool()> soundFails;
    bool warned = false;
    std::function<void(int id, bool waits)> onSound;
    std::function<void(const std::string& text)> whileOpen;
    std::vector<int> draws = std::vector<int>(24 * 10, 0);  // two sets dealt in order
    SeededRandom seeded{7};
    Record record;
    std::string title;
    bool picturesAtTitle = false;  // as the last repaint found them
    ImageSurface surface{1, 1};
    std::unique_ptr<GameView> view;
};

// The log of a deal in order, and of the rest after a game timed out, up to the next deal.
// How long a built-in sound plays.
std::int64_t SoundMs(int id);
std::string DealLine(int game);
Log RestThenNext(int game);
Log Join(std::initializer_list<Log> parts);
// Entries `from` up to `to` (not included) of a log.
Log Slice(const Log& log, std::size_t from, std::size_t to = SIZE_MAX);

}  // namespace tessaform::testing
