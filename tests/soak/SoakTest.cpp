// Runs of the game's view driven by a seeded stream of random events: presses anywhere,
// ticks of the timers that are set, repaints, the clock jumping, refused timers, failing
// sounds, boxes whose loop delivers events, and the screen turning narrow and wide. The
// view's invariants are checked after every event; the first broken one ends the run.
// TESSAFORM_SOAK_SEED replays a run from the seed it printed; TESSAFORM_SOAK_EVENTS
// lengthens it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "Arrangements.h"
#include "Fakes.h"
#include "Invariants.h"
#include "Layout.h"

#ifndef TESSAFORM_SOAK_EVENTS_DEFAULT
#define TESSAFORM_SOAK_EVENTS_DEFAULT 100000
#endif

namespace tessaform::testing {

// The first five are wide enough to play on.
const std::pair<int, int> kSizes[] = {{800, 600},  {792, 560}, {1024, 768}, {641, 600},
                                      {1280, 720}, {640, 480}, {600, 800},  {320, 240}};

struct Soak {
    explicit Soak(std::uint64_t seed) : rng_(seed) {}

    // Empty when the invariants held after every event, else the first that broke, when, and
    // the view's lines of that event.
    std::string Run(long events) {
        for (long done = 0, runEnd = 0; done < events; ++done) {
            if (done >= runEnd) {
                NewRun();
                runEnd = done + Between(5'000, 60'000);
            }
            g_->Forget();
            Event(Between(0, 999));
            const GameState& s = g_->State();
            // Beyond the state: a clock in play that no timer drives.
            const bool noClock =
                s.gameOver == 0 && s.clockRunning == 1 && !g_->timers.set.contains(kClockTimer);
            const std::string broken =
                noClock ? "no clock" : BrokenInvariant(s, kMinimumClientWidth);
            if (!broken.empty()) {
                return broken + " at event " + std::to_string(done) + ", after " +
                       ::testing::PrintToString(g_->log);
            }
            sets += std::ranges::count_if(
                g_->log, [](const std::string& line) { return line.starts_with("recap:"); });
        }
        return {};
    }
    long sets = 0;

    // Not std::uniform_int_distribution, whose numbers differ between libraries.
    int Between(long low, long high) {
        return static_cast<int>(low + static_cast<long>(rng_() % (high - low + 1)));
    }

    void NewRun() {
        g_ = std::make_unique<Game>(800, 600, DissolvePacing{.frameTime = {}});
        g_->random.seeded.emplace(static_cast<std::uint32_t>(rng_()));
        const int sound = Between(0, 9);  // works, fails now and then, or never plays
        g_->sound.fails = [this, sound] { return sound > 6 || (sound > 3 && Between(0, 3) == 0); };
        // The box's loop delivers ticks and repaints, perhaps long after it opened.
        g_->messages.whileOpen = [this](const std::string& text) {
            if (depth_ < 3) {
                ++depth_;
                const bool late = text != kNoTimerMessage && Between(0, 1);
                g_->clock.ms += late ? Between(100, 200) * 1000 : 0;
                for (int n = Between(0, 4); n > 0; --n) {
                    Event(Between(440, 909));
                }
                --depth_;
            }
        };
        const auto [width, height] = kSizes[Between(0, Between(0, 7) == 0 ? 7 : 4)];
        g_->Resize(width, height);
    }

    void Event(int roll) {
        if (roll < 440) {
            PressSomewhere(1);
        } else if (roll < 860) {
            Tick(0);
        } else if (roll < 910) {
            g_->Repaint();
        } else if (roll < 940) {
            Tick(roll < 925 ? Between(1, 200) * 1000 : Between(1000, 3000));
        } else if (roll < 950) {
            g_->timers.refused.insert(Between(1, 2));
        } else if (roll < 990) {
            g_->timers.refused.clear();
            Tick(0);
        } else if (roll < 996) {
            const bool repaint = Between(0, 4) != 0;
            const auto [width, height] = kSizes[Between(0, 7)];
            g_->surface.screen.Resize(width, height);
            if (repaint) {
                g_->Repaint();
            }
        } else {
            PressSomewhere(2);  // a double click
        }
    }

    // After `waitMs`, the next expiry of one of the timers that are set.
    void Tick(long waitMs) {
        g_->clock.ms += waitMs;
        const std::map<int, unsigned>& set = g_->timers.set;
        if (!set.empty()) {
            const auto [id, interval] = *std::next(set.begin(), Between(0, std::ssize(set) - 1));
            g_->clock.ms += interval;
            g_->view.OnTimer(id);
        }
    }

    // On an arrow or just outside its tolerance, anywhere in a block or its gaps, anywhere,
    // or on the column, its edges and just beyond.
    void PressSomewhere(int times) {
        const GameState& s = g_->State();
        const Rect& r = s.blockRect[Between(0, kBlockCount - 1)];
        const Rect a = kArrowHotSpots[Between(0, kArrowCount - 1)].Offset(r.left, r.top);
        const Rect& c = s.anotherSetRect;
        const int kind = Between(0, 9);
        const Rect area = kind < 5   ? Rect{a.left - 3, a.top - 3, a.right + 2, a.bottom + 2}
                          : kind < 8 ? Rect{r.left - 1, r.top - 1, r.left + 180, r.top + 180}
                          : kind < 9 ? Rect{-20, -20, s.clientRect.right, s.clientRect.bottom}
                                     : Rect{c.left - 1, c.top - 1, c.right + 1, c.bottom + 1};
        const int y = Between(area.top, area.bottom), x = Between(area.left, area.right);
        for (int i = 0; i < times; ++i) {
            g_->Press(x, y);
        }
    }

    std::mt19937_64 rng_;
    std::unique_ptr<Game> g_;
    int depth_ = 0;
};

static long FromEnvironment(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::strtol(text, nullptr, 10) : fallback;
}

TEST(Soak, TheViewKeepsItsInvariantsThroughRandomRunsOfTheProgram) {
    const long seed = FromEnvironment("TESSAFORM_SOAK_SEED", 20'240'601);
    const long events = FromEnvironment("TESSAFORM_SOAK_EVENTS", TESSAFORM_SOAK_EVENTS_DEFAULT);
    std::printf("soak: seed %ld, %ld events\n", seed, events);
    Soak soak(static_cast<std::uint64_t>(seed));
    ASSERT_EQ(soak.Run(events), "") << "replay with TESSAFORM_SOAK_SEED=" << seed;
    std::printf("soak: %ld sets\n", soak.sets);
    EXPECT_GT(soak.sets, 0);
}

}  // namespace tessaform::testing
