#include "SoakWorld.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "Arrangements.h"
#include "Layout.h"
#include "Scoring.h"
#include "TimeText.h"

namespace tessaform::soak {

// ---- Ports -------------------------------------------------------------------

TapDC::TapDC(std::unique_ptr<DeviceContext> inner, const GameState* state,
             std::function<void(const PanelDraw&)> onPanel)
    : inner_(std::move(inner)), state_(state), onPanel_(std::move(onPanel)) {}

void TapDC::SelectPen(Rgb c) {
    if (inner_) {
        inner_->SelectPen(c);
    }
}
void TapDC::SelectBrush(Rgb c) {
    if (inner_) {
        inner_->SelectBrush(c);
    }
}
void TapDC::SelectFont(const FontSpec& f) {
    if (inner_) {
        inner_->SelectFont(f);
    }
}
void TapDC::SetTextColor(Rgb c) {
    if (inner_) {
        inner_->SetTextColor(c);
    }
}
void TapDC::SetTransparentBackground() {
    if (inner_) {
        inner_->SetTransparentBackground();
    }
}
void TapDC::MoveTo(int x, int y) {
    if (inner_) {
        inner_->MoveTo(x, y);
    }
}
void TapDC::LineTo(int x, int y) {
    if (inner_) {
        inner_->LineTo(x, y);
    }
}
void TapDC::Rectangle(const Rect& r) {
    if (inner_) {
        inner_->Rectangle(r);
    }
}
void TapDC::FillRect(const Rect& r, Rgb b) {
    if (inner_) {
        inner_->FillRect(r, b);
    }
}
void TapDC::SetPixel(int x, int y, Rgb c) {
    if (inner_) {
        inner_->SetPixel(x, y, c);
    }
}
void TapDC::BitBlt(int x, int y, int w, int h, const Picture& p) {
    if (inner_) {
        inner_->BitBlt(x, y, w, h, p);
    }
}
void TapDC::TextOut(int x, int y, std::string_view text) {
    if (inner_) {
        inner_->TextOut(x, y, text);
    }
}
int TapDC::TextWidth(std::string_view text) {
    return inner_ ? inner_->TextWidth(text) : 0;
}

namespace {

// The panel's numbers are printf'd with leading blanks; anything else is a fault of its own.
std::int64_t ParseNumber(std::string_view text) {
    const std::string s(text);
    char* end = nullptr;
    const long long value = std::strtoll(s.c_str(), &end, 10);
    return end != nullptr && *end == '\0' && !s.empty() ? value : INT64_MIN;
}

}  // namespace

void TapDC::DrawText(std::string_view text, const Rect& r, unsigned flags) {
    if (inner_) {
        inner_->DrawText(text, r, flags);
    }
    if (state_ == nullptr || state_->netScoreValueRect.Width() <= 0) {
        return;
    }
    // Each panel draw opens its own context: bonus (if it counts), cost, match, net.
    if (r == state_->bonusValueRect) {
        draw_.bonus = ParseNumber(text);
    } else if (r == state_->clickCostValueRect) {
        draw_.clickCost = ParseNumber(text);
    } else if (r == state_->matchScoreValueRect) {
        draw_.matchScore = ParseNumber(text);
    } else if (r == state_->netScoreValueRect) {
        draw_.net = ParseNumber(text);
        draw_.gameIndex = state_->gameIndex;
        if (onPanel_) {
            onPanel_(draw_);
        }
        draw_ = {};
    }
}

SoakSurface::SoakSurface(bool realPixels) {
    if (realPixels) {
        image_ = std::make_unique<ImageSurface>(width_, height_);
    }
}

void SoakSurface::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    if (image_) {
        image_->Resize(width, height);
    }
}

std::unique_ptr<DeviceContext> SoakSurface::OpenClientDC() {
    return std::make_unique<TapDC>(image_ ? image_->OpenClientDC() : nullptr, state, onPanel);
}

void SoakSurface::ShowNow() {
    if (onShow) {
        onShow();
    }
}

// As the desktop's timers do, setting an id stops the timer it names first.
bool SoakTimers::SetTimer(int id, unsigned intervalMs) {
    set.erase(id);
    if (refuse.count(id) != 0) {
        return false;
    }
    set[id] = intervalMs;
    return true;
}

void SoakMessages::ShowMessage(const std::string& text, const std::string&, MessageIcon) {
    if (whileOpen) {
        whileOpen(text);
    }
}

SoakSound::SoakSound(SoundMode m, MessageBoxPort& messages, Rng& rng)
    : mode(m), messages_(messages), rng_(rng) {
    if (mode == SoundMode::kNoDevice) {
        soundWarningShown = 0;  // a fresh run of the program
        player_ = std::make_unique<SoundPlayer>(messages);
    }
}

namespace {

std::uint64_t SoundLengthMs(int id) {
    switch (id) {
        case 154:
            return 4240;
        case 155:
            return 700;
        case 157:
            return 400;
        default:
            return 500;
    }
}

}  // namespace

bool SoakSound::Busy() {
    return mode == SoundMode::kFlaky && rng_() % 4 == 0;
}

void SoakSound::PlaySoundSync(int id) {
    if (player_) {
        player_->PlaySoundSync(id);
        return;
    }
    if (!Busy() && duringWait) {
        duringWait(id, SoundLengthMs(id));
    }
}

void SoakSound::PlaySoundAsync(int id) {
    if (player_) {
        player_->PlaySoundAsync(id);
        return;
    }
    if (Busy() && warningShown_ == 0) {
        warningShown_ = 1;
        messages_.ShowMessage(kSoundWarning, "Tessaform", MessageIcon::kExclamation);
    }
}

// ---- The run -------------------------------------------------------------------

namespace {

constexpr std::size_t kRecentEvents = 20;
constexpr int kMaxBoxDepth = 3;
constexpr std::size_t kMaxQueued = 4000;

struct Size {
    int width, height;
};
constexpr Size kWideSizes[] = {{800, 600}, {792, 560}, {1024, 768}, {641, 600}, {1280, 720}};
constexpr Size kNarrowSizes[] = {{640, 480}, {600, 800}, {320, 240}, {640, 600}};

struct Queued {
    bool repaint = false;
    int x = 0, y = 0;
};

struct Session {
    Session(Rng& rng, bool realPixels, SoundMode mode)
        : surface(realPixels), sound(mode, messages, rng), random(rng()) {
        view = std::make_unique<GameView>(
            ViewPorts{surface, timers, clock, sound, messages, random, {}},
            DissolvePacing{15, std::chrono::milliseconds(0)});
        surface.state = &view->State();
    }

    SoakSurface surface;
    SoakTimers timers;
    SoakClock clock;
    SoakMessages messages;
    SoakSound sound;
    SoakRandom random;
    std::unique_ptr<GameView> view;

    bool started = false;    // the first repaint has run
    bool everDealt = false;  // a board has been dealt
    bool narrow = false;     // the last repaint showed the narrow-screen warning
    bool panelStale = false;
    bool bothTimersAllowed = false;
    std::optional<PanelDraw> lastPanel;
    int soundWarnings = 0;
    int lastGameOver = 0;
    int lastGameIndex = 0;
};

class Runner {
public:
    explicit Runner(const Options& o) : options_(o), rng_(o.seed) {}

    Outcome Go() {
        long sessionEnd = 0;
        while (out_.events < options_.events && !out_.failure) {
            if (out_.events >= sessionEnd) {
                NewSession();
                sessionEnd = out_.events + 5'000 + static_cast<long>(rng_() % 55'000);
            }
            TopLevel([this] { RandomEvent(); });
            while (!queue_.empty() && !out_.failure) {
                const Queued q = queue_.front();
                queue_.pop_front();
                TopLevel([this, q] {
                    if (q.repaint) {
                        Repaint("queued repaint");
                    } else {
                        Press(q.x, q.y, "queued press");
                    }
                });
            }
        }
        return out_;
    }

private:
    // ---- Sessions and hooks ----

    void NewSession() {
        session_.reset();
        queue_.clear();
        const auto pick = rng_() % 10;
        const SoundMode mode =
            pick < 4 ? SoundMode::kWorks : (pick < 7 ? SoundMode::kFlaky : SoundMode::kNoDevice);
        session_ = std::make_unique<Session>(rng_, options_.realPixels, mode);
        Session& s = *session_;
        const Size size = rng_() % 8 == 0 ? Choose(kNarrowSizes) : Choose(kWideSizes);
        s.surface.Resize(size.width, size.height);
        s.surface.onPanel = [this](const PanelDraw& d) {
            session_->lastPanel = d;
            session_->panelStale = false;
        };
        s.surface.onShow = [this] {
            // The thread is held (a sound, a dissolve frame, a box): the player clicks on.
            if (rng_() % 16 == 0) {
                QueuePresses(1 + static_cast<int>(rng_() % 3));
            }
        };
        s.sound.duringWait = [this](int, std::uint64_t lengthMs) {
            session_->clock.ms += lengthMs;
            const auto roll = rng_() % 200;
            if (roll == 0) {
                QueuePresses(1000);  // a player hammering the board through the deal
            } else if (roll < 40) {
                QueuePresses(1 + static_cast<int>(rng_() % 6));
            } else if (roll < 44 && queue_.size() < kMaxQueued) {
                queue_.push_back({true, 0, 0});
            }
        };
        s.messages.whileOpen = [this](const std::string& text) { WhileBoxOpen(text); };
        ++out_.sessions;
        Note("new run of the program, " + std::to_string(size.width) + "x" +
             std::to_string(size.height) + ", sound " +
             (mode == SoundMode::kWorks   ? "works"
              : mode == SoundMode::kFlaky ? "flaky"
                                          : "absent"));
    }

    void WhileBoxOpen(const std::string& text) {
        Session& s = *session_;
        if (text == kSoundWarning) {
            ++s.soundWarnings;
            ++out_.soundWarnings;
        } else {
            s.panelStale = true;
            ++out_.noTimerBoxes;
        }
        Note("  box: " + text.substr(0, text.find('\n')));
        if (depth_ >= kMaxBoxDepth) {
            return;
        }
        ++depth_;
        // The warning is read slowly now and then: the game's time runs out behind it.
        if (text == kSoundWarning && rng_() % 2 == 0) {
            s.clock.ms += 100'000 + rng_() % 100'000;
            Tick("  tick in box, the player took a while");
        }
        // The box's own loop goes on delivering what the system sends the window.
        const int n = static_cast<int>(rng_() % 5);
        for (int i = 0; i < n; ++i) {
            const auto roll = rng_() % 20;
            if (roll < 14) {
                Tick("  tick in box");
            } else if (roll < 15) {
                s.clock.ms += 30'000 + rng_() % 90'000;  // the player leaves the box open
                Tick("  tick in box a minute later");
            } else if (roll < 18) {
                s.clock.ms += 1000 + rng_() % 3000;
                Tick("  tick in box after a while");
            } else {
                Repaint("  repaint in box");
            }
        }
        --depth_;
    }

    void QueuePresses(int count) {
        for (int i = 0; i < count && queue_.size() < kMaxQueued; ++i) {
            const auto [x, y] = PickPress();
            queue_.push_back({false, x, y});
        }
        out_.queuedPresses += count;
    }

    template <typename T, std::size_t N>
    const T& Choose(const T (&items)[N]) {
        return items[rng_() % N];
    }

    int Between(int low, int high) {  // inclusive
        return low + static_cast<int>(rng_() % static_cast<std::uint64_t>(high - low + 1));
    }

    // ---- Events ----

    void TopLevel(const std::function<void()>& event) {
        Session& s = *session_;
        const bool rest5WithTimer2 = s.view->State().gameOver == 1 &&
                                     s.view->State().gameIndex > 3 &&
                                     s.timers.set.count(kRestTimer) != 0;
        event();
        ++out_.events;
        // A new set started from the last rest leaves the rest timer running beside the clock.
        if (s.timers.set.size() == 2 && rest5WithTimer2 && s.view->State().gameIndex == 0) {
            s.bothTimersAllowed = true;
        }
        if (s.timers.set.size() < 2) {
            s.bothTimersAllowed = false;
        }
        Check();
    }

    void RandomEvent() {
        Session& s = *session_;
        const auto roll = rng_() % 1000;
        if (roll < 440) {
            const auto [x, y] = PickPress();
            Press(x, y, "press");
        } else if (roll < 860) {
            Tick("tick");
        } else if (roll < 910) {
            Repaint("repaint");
        } else if (roll < 925) {
            const auto jump = 1 + rng_() % 200;
            s.clock.ms += jump * 1000;
            Note("clock jumps " + std::to_string(jump) + " s");
        } else if (roll < 940) {
            s.clock.ms += 1000 + rng_() % 2000;
            Tick("tick after a while");
        } else if (roll < 950) {
            const int id = Between(1, 2);
            s.timers.refuse.insert(id);
            Note("timer " + std::to_string(id) + " will be refused");
        } else if (roll < 990) {
            if (!s.timers.refuse.empty()) {
                s.timers.refuse.clear();
                Note("timers granted again");
            } else {
                Tick("tick");
            }
        } else if (roll < 996) {
            const bool narrow = rng_() % 2 == 0;
            const Size size = narrow ? Choose(kNarrowSizes) : Choose(kWideSizes);
            s.surface.Resize(size.width, size.height);
            Note("screen becomes " + std::to_string(size.width) + "x" +
                 std::to_string(size.height));
            if (rng_() % 5 != 0) {
                Repaint("repaint after resize");
            }
        } else {
            // Double presses: the second of a quick pair is the same press again.
            const auto [x, y] = PickPress();
            Press(x, y, "double press, first");
            Press(x, y, "double press, second");
        }
    }

    void Press(int x, int y, const char* what) {
        Note(std::string(what) + " at " + std::to_string(x) + "," + std::to_string(y));
        session_->view->OnLButtonDown(x, y);
    }

    // The system delivers expiries only of timers that are set.
    void Tick(const char* what) {
        Session& s = *session_;
        if (s.timers.set.empty()) {
            s.clock.ms += 50;
            return;
        }
        auto it = s.timers.set.begin();
        std::advance(it, static_cast<long>(rng_() % s.timers.set.size()));
        const int id = it->first;
        s.clock.ms += it->second;
        Note(std::string(what) + " " + std::to_string(id));
        s.view->OnTimer(id);
    }

    void Repaint(const char* what) {
        Session& s = *session_;
        Note(what);
        s.view->OnDraw(*s.surface.OpenClientDC());
        s.started = true;
        if (options_.realPixels && depth_ == 0) {
            CheckPixels();
        }
    }

    std::pair<int, int> PickPress() {
        const GameState& g = session_->view->State();
        const Rect client = session_->surface.ClientRect();
        const int block = Between(0, kBlockCount - 1);
        const Rect& r = g.blockRect[block];
        const auto kind = rng_() % 100;
        if (kind < 50) {
            // On an arrow, at its centre or on the edges of its tolerance.
            const Rect& hot = kArrowHotSpots[rng_() % kArrowCount];
            const int dx = rng_() % 3 == 0 ? (rng_() % 2 ? hot.left - 2 : hot.right + 1)
                                           : Between(hot.left, hot.right);
            const int dy = rng_() % 3 == 0 ? (rng_() % 2 ? hot.top - 2 : hot.bottom + 1)
                                           : Between(hot.top, hot.bottom);
            return {r.left + dx, r.top + dy};
        }
        if (kind < 62) {
            return {r.left + Between(0, 160), r.top + Between(0, 160)};
        }
        if (kind < 74) {
            // Block edges: the last pixel, the first column of the gap, just outside.
            constexpr int kEdges[] = {-1, 0, 159, 160, 161};
            const int along = Between(0, 160);
            return rng_() % 2 ? std::pair{r.left + Choose(kEdges), r.top + along}
                              : std::pair{r.left + along, r.top + Choose(kEdges)};
        }
        if (kind < 82) {
            return {r.left + Between(161, 179), r.top + Between(0, 179)};
        }
        if (kind < 92) {
            return {Between(-20, client.right + 20), Between(-20, client.bottom + 20)};
        }
        // The play-another-set column, its edges included.
        const Rect& c = g.anotherSetRect;
        switch (rng_() % 4) {
            case 0:
                return {c.left, c.top};
            case 1:
                return {c.right, c.bottom};
            case 2:
                return {c.right + 1, Between(c.top, c.bottom)};
            default:
                return {Between(c.left, c.right), Between(c.top, c.bottom)};
        }
    }

    // ---- Invariants ----

    void Note(std::string text) {
        if (recent_.size() == kRecentEvents) {
            recent_.pop_front();
        }
        recent_.push_back("#" + std::to_string(out_.events) + " " + std::move(text));
    }

    void Fail(const std::string& what) {
        if (out_.failure) {
            return;
        }
        std::ostringstream text;
        text << "invariant broken: " << what << "\n  seed " << options_.seed << ", event "
             << out_.events << ", run of the program " << out_.sessions
             << "\n  state: " << Describe() << "\n  last events:\n";
        for (const std::string& e : recent_) {
            text << "    " << e << "\n";
        }
        out_.failure = text.str();
    }

    std::string Describe() const {
        const Session& s = *session_;
        const GameState& g = s.view->State();
        std::ostringstream d;
        d << "gameOver " << g.gameOver << ", boardInitialized " << g.boardInitialized
          << ", gameIndex " << g.gameIndex << ", clockRunning " << g.clockRunning
          << ", timeExpired " << g.timeExpired << ", allResolved " << g.allResolved << ", timers {";
        for (const auto& [id, ms] : s.timers.set) {
            d << id << " ";
        }
        d << "}, status";
        for (int v : g.blockStatus) {
            d << " " << v;
        }
        d << ", arrangement";
        for (int v : g.blockArrangement) {
            d << " " << v;
        }
        d << ", clicks";
        for (int v : g.blockClicks) {
            d << " " << v;
        }
        d << ", matchCount " << g.matchCount << ", matchScore " << g.matchScore << ", clickCost "
          << g.clickCost << ", timeLeft " << g.timeLeft;
        return d.str();
    }

    static bool Flag(int v) { return v == 0 || v == 1; }

    void Check() {
        Session& s = *session_;
        const GameState& g = s.view->State();
        if (s.soundWarnings > 1) {
            return Fail("the sound warning was shown " + std::to_string(s.soundWarnings) +
                        " times in one run");
        }
        if (!s.started) {
            return;
        }
        if (!Flag(g.gameOver) || !Flag(g.boardInitialized) || !Flag(g.clockRunning) ||
            !Flag(g.timeExpired) || !Flag(g.allResolved)) {
            return Fail("a flag holds neither 0 nor 1");
        }
        if (g.gameIndex < 0 || g.gameIndex >= kSetLength) {
            return Fail("gameIndex outside 0..4");
        }
        if (g.gameOver == 0 && g.boardInitialized != 1) {
            return Fail("a game in play without a dealt board");
        }
        if (g.boardInitialized == 1) {
            s.everDealt = true;
        }
        // The last repaint, the game's own included, showed the narrow-screen warning.
        s.narrow = g.clientRect.right < kMinimumClientWidth;
        for (int k = 0; k < kBlockCount; ++k) {
            if (g.blockStatus[k] < 0 || g.blockStatus[k] > 2) {
                return Fail("block " + std::to_string(k) + " has status " +
                            std::to_string(g.blockStatus[k]));
            }
            if (g.blockClicks[k] < 0 || g.blockClicks[k] > kMaxBlockClicks) {
                return Fail("block " + std::to_string(k) + " counts " +
                            std::to_string(g.blockClicks[k]) + " clicks");
            }
            if (g.blockArrangement[k] < 0 || g.blockArrangement[k] >= kArrangementCount) {
                return Fail("block " + std::to_string(k) + " has no arrangement");
            }
        }
        if (s.everDealt) {
            if (g.blockStatus[kMasterBlock] != kMatched) {
                return Fail("the master is not matched");
            }
            for (int a = 1; a < kBlockCount; ++a) {
                for (int b = 0; b < a; ++b) {
                    if (g.blockStatus[a] != kLost && g.blockStatus[b] != kLost &&
                        g.blockArrangement[a] == g.blockArrangement[b] &&
                        g.blockArrangement[a] != g.blockArrangement[kMasterBlock]) {
                        return Fail("blocks " + std::to_string(b) + " and " + std::to_string(a) +
                                    " share an arrangement that is not the master's");
                    }
                }
            }
        }

        // Scores against the board.
        if (g.matchCount < 0 || g.matchCount > kBlockCount) {
            return Fail("matchCount outside 0..12");
        }
        const std::int32_t expectedMatch = g.matchCount == 0 ? 10 : g.scaleTable[g.matchCount - 1];
        if (g.matchScore != expectedMatch) {
            return Fail("matchScore disagrees with matchCount");
        }
        if (g.matchCount == 0) {
            if (g.clickCost != 0) {
                return Fail("a click cost before any tally");
            }
        } else {
            std::int32_t cost = 0;
            int matched = 1;
            for (int k = 1; k < kBlockCount; ++k) {
                cost += BlockClickCost(g.scaleTable, g.blockClicks[k]);
                matched += g.blockStatus[k] == kMatched ? 1 : 0;
            }
            if (g.clickCost != cost) {
                return Fail("clickCost " + std::to_string(g.clickCost) +
                            " disagrees with the clicks (" + std::to_string(cost) + ")");
            }
            if (g.matchCount != matched) {
                return Fail("matchCount disagrees with the statuses");
            }
        }
        if (g.clickCost < 0 || g.clickCost > 24'200) {
            return Fail("clickCost outside 0..24,200");
        }
        if (g.timeLeft < 0 || g.timeLeft > kGameSeconds) {
            return Fail("timeLeft outside 0..105");
        }
        if (!g.timeLeftText.empty() && g.timeLeftText != FormatTimeLeft(g.timeLeft)) {
            return Fail("the time text is not the time left");
        }
        if (s.lastPanel) {
            const PanelDraw& p = *s.lastPanel;
            if (p.bonus < 0 || p.bonus > kMaxBonus || (p.bonus > 0 && g.matchCount != 12)) {
                return Fail("the panel showed a bonus of " + std::to_string(p.bonus));
            }
            if (p.net != p.matchScore + p.bonus - p.clickCost) {
                return Fail("the panel's net score is not match + bonus - cost");
            }
            if (p.net < -24'190 || p.net > 1'259'330) {
                return Fail("net score " + std::to_string(p.net) + " out of bounds");
            }
            if (g.setScores[p.gameIndex] != p.net) {
                return Fail("setScores[" + std::to_string(p.gameIndex) + "] is " +
                            std::to_string(g.setScores[p.gameIndex]) + ", the panel last showed " +
                            std::to_string(p.net));
            }
            if (!s.panelStale && s.everDealt && !s.narrow) {
                if (p.gameIndex != g.gameIndex) {
                    return Fail("the panel last drawn was game " + std::to_string(p.gameIndex) +
                                "'s, game " + std::to_string(g.gameIndex) + " is current");
                }
                if (p.matchScore != g.matchScore || p.clickCost != g.clickCost) {
                    return Fail("the panel shows scores the state no longer has");
                }
            }
        }

        // Timers and phases.
        if (s.timers.set.size() > 1 && !s.bothTimersAllowed) {
            return Fail("two timers set");
        }
        if (s.narrow && !s.timers.set.empty()) {
            return Fail("a timer runs while the narrow-screen warning shows");
        }
        if (s.narrow && g.gameOver != 1) {
            return Fail("a game in play on a narrow screen");
        }
        if (g.gameOver == 0 && g.clockRunning == 1 && s.timers.set.count(kClockTimer) == 0) {
            return Fail("the clock runs without its timer");
        }
        if (g.gameOver == 1 && s.lastGameOver == 0) {
            ++out_.games;
        }
        if (g.gameIndex == 0 && s.lastGameIndex == kSetLength - 1) {
            ++out_.sets;
        }
        s.lastGameOver = g.gameOver;
        s.lastGameIndex = g.gameIndex;
    }

    // On the real surface a repaint leaves the frames and holes the statuses say.
    void CheckPixels() {
        Session& s = *session_;
        const GameState& g = s.view->State();
        const QImage* image = s.surface.Image();
        if (image == nullptr || g.clientRect.right < kMinimumClientWidth || !s.everDealt) {
            return;
        }
        const auto inside = [&](const Rect& r) {
            return r.left >= 0 && r.top >= 19 && r.right <= image->width() &&
                   r.bottom <= image->height() - 17;
        };
        for (int k = 0; k < kBlockCount; ++k) {
            const Rect& r = g.blockRect[k];
            if (!inside(r)) {
                continue;
            }
            int grey = 0;
            int ring = 0;
            const QRgb frame = k == kMasterBlock ? 0xffff0000 : 0xff00ff00;
            for (int y = r.top; y < r.bottom; ++y) {
                for (int x = r.left; x < r.right; ++x) {
                    const QRgb p = image->pixel(x, y);
                    grey += p == 0xff808080 ? 1 : 0;
                    const bool onRing =
                        x == r.left || y == r.top || x == r.right - 1 || y == r.bottom - 1;
                    ring += onRing && p == frame ? 1 : 0;
                }
            }
            if (g.blockStatus[k] == kLost && grey != r.Width() * r.Height()) {
                return Fail("lost block " + std::to_string(k) + " is not grey after a repaint");
            }
            if (g.blockStatus[k] == kMatched && ring != 636) {
                return Fail("matched block " + std::to_string(k) +
                            " lacks its frame after a repaint");
            }
        }
    }

    Options options_;
    Rng rng_;
    Outcome out_;
    std::unique_ptr<Session> session_;
    std::deque<Queued> queue_;
    std::deque<std::string> recent_;
    int depth_ = 0;
};

}  // namespace

Outcome Run(const Options& options) {
    return Runner(options).Go();
}

}  // namespace tessaform::soak
