// The fakes of the view's ports, the context that notes what the view draws, and the
// steps of a game.
#include "Fakes.h"

#include <algorithm>
#include <array>

#include "Arrangements.h"
#include "Resources.h"
#include "SoundPlayer.h"
#include "Wave.h"

namespace tessaform::testing {

namespace {

// The screen's own context, noting the texts and the pixels as it draws them. TextOut
// draws through DrawText, as one line from its point.
struct NotingDC final : PixelDeviceContext {
    explicit NotingDC(FakeSurface& s) : PixelDeviceContext(s.screen), surface(s) {}
    void SetPixel(int x, int y, Rgb c) override {
        if (surface.pixels) {
            surface.pixels->emplace_back(x, y);
        }
        PixelDeviceContext::SetPixel(x, y, c);
    }
    void DrawText(std::string_view text, const Rect& r, unsigned flags) override {
        surface.texts.push_back({std::string(text), r, flags, &Font()});
        PixelDeviceContext::DrawText(text, r, flags);
    }
    FakeSurface& surface;
};

}  // namespace

Log Join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Logs the sound by its name, the six being numbered from 154; false when it fails to play.
bool FakeSound::Plays(int id, const std::string& how) {
    const std::array<std::string, 6> names = {"deal", "collision", "match", "rest", "end", "loss"};
    game.log.push_back(how + " sound " + names.at(id - 154));
    return !fails || !fails();
}

// A waited sound holds the clock for as long as it plays.
void FakeSound::PlaySoundSync(int id) {
    const auto wave = ParseWave(FindResource(kSoundType, id));
    game.clock.ms += Plays(id, "wait") && wave ? std::int64_t(wave->Seconds() * 1000) : 0;
}

void FakeSound::PlaySoundAsync(int id) {
    if (!Plays(id, "start") && !std::exchange(warned, true)) {
        game.messages.ShowMessage(kSoundWarning, "Tessaform", MessageIcon::kExclamation);
    }
}

std::unique_ptr<DeviceContext> FakeSurface::OpenClientDC() {
    return std::make_unique<NotingDC>(*this);
}

int FakeSurface::Count(const Rect& r, Rgb colour) const {
    int count = 0;
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, screen.Height()); ++y) {
        for (int x = std::max(r.left, 0); x < std::min(r.right, screen.Width()); ++x) {
            count += screen.Pixels()[y * screen.Width() + x] == colour.Argb();
        }
    }
    return count;
}

Game::Game(int width, int height, DissolvePacing pacing)
    : surface(log, width, height),
      view(ViewPorts{surface, timers, clock, sound, messages, random, nullptr,
                     [this](const std::string& line) { log.push_back(line); }},
           pacing) {}

Game& Game::PressArrow(int block, int arrow, int times) {
    // Two pixels in from the corner of its spot farthest from the block's middle, where the
    // arms of the centre's X no longer overlap.
    const Rect& hot = kArrowHotSpots[arrow];
    const int dx = hot.left + hot.right < 160 ? hot.left + 2 : hot.right - 2;
    const int dy = hot.top + hot.bottom < 160 ? hot.top + 2 : hot.bottom - 2;
    for (int i = 0; i < times; ++i) {
        Press(Block(block).left + dx, Block(block).top + dy);
    }
    return *this;
}

Game& Game::MatchAllButBlock1() {
    const std::vector<std::vector<int>> arrows = {{5}, {3, 5}, {7, 5}, {7},    {2},
                                                  {0}, {2, 6}, {0, 6}, {0, 4}, {2, 4}};
    for (int k = 2; k < kBlockCount; ++k) {
        for (int arrow : arrows[k - 2]) {
            PressArrow(k, arrow);
        }
    }
    return *this;
}

std::string Game::Board() const {
    std::string board;
    for (int k = 0; k < kBlockCount; ++k) {
        const Rect& r = Block(k);
        const Rgb frames[] = {kRed, kGreen, kBlack};
        const auto* frame =
            std::ranges::find_if(frames, [&](Rgb c) { return surface.Framed(r, c); });
        const bool grey = surface.Count(r, kGrey) == r.Width() * r.Height();
        board += grey ? 'x' : frame == std::end(frames) ? '.' : "rgk"[frame - frames];
    }
    return board;
}

bool Game::BonusShows() const {
    const Rect& label = State().bonusLabelRect;
    const Rect area{label.left, label.top, State().bonusValueRect.right, label.bottom};
    return surface.Count(area, kGrey) != area.Width() * area.Height();
}

std::string DealLine(int game) {
    return "deal game " + std::to_string(game) + ": 0 1 2 3 4 5 6 7 8 9 10 11";
}

Log Over(int game, const std::string& how, bool withSound) {
    const std::string over = "game " + std::to_string(game) + " over: " + how;
    return withSound ? Log{"kill clock timer", "start sound end", over, "set rest timer"}
                     : Log{"kill clock timer", over, "set rest timer"};
}

Log Rest(int game, const std::string& score) {
    return Join({{"kill rest timer", "score game " + std::to_string(game) + ": " + score},
                 {"show", "wait sound rest", "show", "wait sound deal", "set clock timer"},
                 {DealLine(game + 1)}});
}

}  // namespace tessaform::testing
