// The browser's front end: the page's events handed to the game one at a time, its pixels shown.
#include <emscripten.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "BakedFonts.h"
#include "GameView.h"
#include "Instructions.h"
#include "Layout.h"
#include "Picture.h"
#include "PixelSurface.h"
#include "Resources.h"
#include "SystemClock.h"
#include "WindowTimers.h"

// The page's side, in page.js. The waits yield to the browser until they end.
extern "C" {
int page_next_event(int* event);
void page_wait(int ms);
double page_start_sound(int id);
void page_open_box(const char* text, const char* caption);
int page_timer_start(int ms);
void page_timer_stop(int handle);
void page_show(const std::uint32_t* pixels, int width, int height, int left, int top, int right,
               int bottom);
void page_set_title(const char* title);
void page_set_print(const char* title, const char* lines);
void page_add_sound(int id, const std::uint8_t* bytes, int size);
void page_set_about(const char* caption, const char* version, const char* notice,
                    const std::uint32_t* icon, int width, int height);
void page_describe_board(const char* name, const char* description);
void page_set_words(const char* words);
void page_ready();
double page_seed();
void page_print();
void page_exit();
void page_log(const char* line);
}

namespace tessaform {
namespace {

// What the page queues, in the order it came; values as page.js numbers them.
enum Event { kPress = 1, kTimer = 2, kResize = 3, kPrint = 4, kExit = 5, kBoxClosed = 6 };

constexpr int kSoundIds[] = {154, 155, 156, 157, 158, 159};

void Say(const char* category, const std::string& line) {
    page_log((std::string(category) + ": " + line).c_str());
}

class PageTimers final : public WindowTimers {
public:
    using WindowTimers::WindowTimers;
    void Wait(std::chrono::milliseconds time) override {
        page_wait(static_cast<int>(time.count()));
    }

protected:
    int Start(std::chrono::milliseconds first) override {
        return page_timer_start(static_cast<int>(first.count()));
    }
    void Stop(int handle) override { page_timer_stop(handle); }
};

class Page;

// Modal boxes as the page's dialogs; while one is open, its loop goes on running the
// timers, as the desktop's does, and the board takes no press.
class PageBoxes final : public MessageBoxPort {
public:
    explicit PageBoxes(Page& page) : page_(page) {}
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override;

private:
    Page& page_;
};

// Web Audio's sounds, cut by the next one; without them the game goes on silently, and the
// first sound it would not wait for says so once.
class PageSound final : public SoundPort {
public:
    explicit PageSound(MessageBoxPort& messages) : messages_(messages) {}
    void PlaySoundSync(int id) override {
        const double seconds = page_start_sound(id);
        if (seconds < 0) {
            return;
        }
        Say("tessaform.sound", "start " + std::to_string(id) + " sync");
        page_wait(static_cast<int>(std::ceil(seconds * 1000)));
        Say("tessaform.sound", "end " + std::to_string(id));
    }
    void PlaySoundAsync(int id) override {
        if (page_start_sound(id) >= 0) {
            Say("tessaform.sound", "start " + std::to_string(id) + " async");
            return;
        }
        if (warned_) {
            return;
        }
        warned_ = true;
        Say("tessaform.sound", "warning");
        messages_.ShowMessage(kSoundWarning, "Tessaform", MessageIcon::kExclamation);
    }

private:
    MessageBoxPort& messages_;
    bool warned_ = false;
};

// The game in the page: its ports, and the loop that takes the page's events.
class Page {
public:
    explicit Page(std::uint32_t seed)
        : surface_(0, 0, BakedFonts()),
          timers_(kClockTimer),
          boxes_(*this),
          sound_(boxes_),
          random_(seed),
          game_(ViewPorts{surface_, timers_, clock_, sound_, boxes_, random_,
                          [this](const std::string& title) { SetTitle(title); },
                          [](const std::string& line) { Say("tessaform.game", line); }}) {
        surface_.SetShowCallback([this] { Show(); });
        SetInstructionLines(game_.State());
        for (const int id : kSoundIds) {
            const auto bytes = FindResource(kSoundType, id);
            page_add_sound(id, bytes.data(), static_cast<int>(bytes.size()));
        }
        const auto icon = DecodeBitmap(FindResource(kIconType, kLargeIconId)).value_or(Picture{});
        page_set_about(kAboutCaption, kAboutVersion, kAboutNotice, icon.pixels.data(), icon.width,
                       icon.height);
        page_describe_board(kBoardName, kBoardDescription);
    }

    void Run() {
        page_ready();
        while (Take(true) != kExit) {
        }
        page_exit();
    }

    // One event, handled to its end; presses only when the board takes them.
    int Take(bool presses) {
        int e[3] = {};
        const int kind = page_next_event(e);
        if (kind == kPress && presses) {
            Handle([&] { game_.OnLButtonDown(e[0], e[1]); });
        } else if (kind == kTimer) {
            if (const int id = timers_.Expired(e[0]); id != 0) {
                Handle([&] { game_.OnTimer(id); }, id);
            }
        } else if (kind == kResize) {
            surface_.Resize(e[0], e[1]);
            Handle([&] { game_.OnDraw(*surface_.OpenClientDC()); });
        } else if (kind == kPrint && game_.State().clientRect.right >= kMinimumClientWidth) {
            page_print();
        }
        return kind;
    }

private:
    template <typename Handler>
    void Handle(const Handler& handler, int timerId = 0) {
        timers_.AimClock(timerId);
        handler();
        Show();
    }

    void Show() {
        const Rect r = surface_.TakeDirty();
        if (r.right > r.left && r.bottom > r.top) {
            page_show(surface_.Pixels(), surface_.Width(), surface_.Height(), r.left, r.top,
                      r.right, r.bottom);
        }
        if (surface_.Texts() != said_) {  // the words for screen readers, where they changed
            said_ = surface_.Texts();
            std::string words;
            for (const ScreenText& t : said_) {
                words += t.text + "\n";
            }
            page_set_words(words.c_str());
        }
    }

    // The caption as the desktop's shows it; on paper without its closing " of".
    void SetTitle(const std::string& title) {
        page_set_title(("Tessaform - " + title).c_str());
        std::string lines;  // the state holds room for more than it prints
        for (int i = 0; i < kInstructionLineCount; ++i) {
            lines += game_.State().instructionLines[i] + "\n";
        }
        page_set_print(title.substr(0, title.size() > 3 ? title.size() - 3 : 0).c_str(),
                       lines.c_str());
    }

    PixelSurface surface_;
    std::vector<ScreenText> said_;
    // The date as the desktop's C locale writes "%c": the browser's C library pads the day
    // with a zero, glibc with a blank.
    SystemClock clock_{"%a %b %e %H:%M:%S %Y"};
    PageTimers timers_;
    PageBoxes boxes_;
    PageSound sound_;
    SeededRandom random_;
    GameView game_;
};

void PageBoxes::ShowMessage(const std::string& text, const std::string& caption, MessageIcon) {
    page_open_box(text.c_str(), caption.c_str());
    while (page_.Take(false) != kBoxClosed) {
    }
}

}  // namespace
}  // namespace tessaform

// The page's address may name the deal's seed (the tests do); otherwise the calendar time is.
int main() {
    const double named = page_seed();
    static tessaform::Page page(
        static_cast<std::uint32_t>(named >= 0 ? named : std::time(nullptr)));
    page.Run();
    return 0;
}
