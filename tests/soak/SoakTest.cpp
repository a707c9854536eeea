// Runs of the game's view driven by a seeded stream of random events: presses anywhere,
// ticks of the timers that are set, repaints, the clock jumping, refused timers, failing
// sounds, boxes whose loop delivers events, and the screen turning narrow and wide. The
// view's invariants are checked after every event; the first broken one ends the run
// with its seed and the last calls.
// TESSAFORM_SOAK_SEED and TESSAFORM_SOAK_EVENTS replay or lengthen a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <ranges>

#include "Arrangements.h"
#include "Invariants.h"
#include "Layout.h"
#include "ViewHarness.h"

#ifndef TESSAFORM_SOAK_EVENTS_DEFAULT
#define TESSAFORM_SOAK_EVENTS_DEFAULT 100000
#endif

namespace tessaform::testing {
namespace {

// The first five are wide enough to play on.
const std::string kSizes[] = {"800 600",  "792 560", "1024 768", "641 600",
                              "1280 720", "640 480", "600 800",  "320 240"};

class Soak {
public:
    explicit Soak(std::uint64_t seed) : seed_(seed), rng_(seed) {}

    // Empty when every invariant held, else what broke, the seed and the last calls.
    std::string Run(long events) {
        for (long runEnd = 0; done_ < events && failure_.empty();) {
            if (done_ >= runEnd) {
                NewRun();
                runEnd = done_ + Between(5'000, 60'000);
            }
            TopLevel();
        }
        return failure_;
    }
    long games = 0, sets = 0, runs = 0;

private:
    int Between(long low, long high) {
        return static_cast<int>(
            low + static_cast<long>(rng_() % static_cast<std::uint64_t>(high - low + 1)));
    }

    void NewRun() {
        h_ = std::make_unique<ViewHarness>(800, 600, 15);
        h_->draws.clear();
        h_->seeded = SeededRandom(static_cast<std::uint32_t>(rng_()));
        const int sound = Between(0, 9);  // works, fails now and then, or never plays
        h_->soundFails = [this, sound] { return sound > 6 || (sound > 3 && Between(0, 3) == 0); };
        h_->whileOpen = [this](const std::string& text) {
            if (depth_ < 3) {
                ++depth_;
                h_->ms += text != kNoTimerMessage && Between(0, 1) ? Between(100, 200) * 1000 : 0;
                for (int n = Between(0, 4); n > 0; --n) {
                    Event(Between(440, 909));  // the box's loop delivers ticks and repaints
                }
                --depth_;
            }
        };
        bothTimers_ = false;
        ++runs;
        Do("size " + kSizes[Between(0, Between(0, 7) == 0 ? 7 : 4)] + "; repaint");
    }

    void TopLevel() {
        const GameState& g = h_->State();
        const bool lastRest = g.gameOver == 1 && g.gameIndex > 3 && h_->timers.count(2) != 0;
        const std::size_t from = h_->log.size();
        Event(Between(0, 999));
        ++done_;
        for (const std::string& line : h_->log | std::views::drop(from)) {
            games += line.find(" over: ") != std::string::npos ? 1 : 0;
            sets += line.rfind("recap:", 0) == 0 ? 1 : 0;
            // A new set started in the last rest leaves the rest timer beside the clock.
            bothTimers_ = bothTimers_ || (line == "new set" && lastRest);
        }
        bothTimers_ = bothTimers_ && h_->timers.size() == 2;
        Check();
        if (h_->log.size() > 60) {
            h_->log.erase(h_->log.begin(), h_->log.end() - 40);
        }
    }

    void Event(int roll) {
        if (roll < 440) {
            Do(PickPress());
        } else if (roll < 860) {
            Tick(0);
        } else if (roll < 910) {
            Do("repaint");
        } else if (roll < 940) {
            Tick(roll < 925 ? Between(1, 200) * 1000 : Between(1000, 3000));
        } else if (roll < 950) {
            h_->refuse.insert(Between(1, 2));
        } else if (roll < 990) {
            h_->refuse.clear();
            Tick(0);
        } else if (roll < 996) {
            Do("size " + kSizes[Between(0, 7)] + (Between(0, 4) ? "; repaint" : ""));
        } else {
            const std::string press = PickPress();
            Do(press + "; " + press);  // a double click
        }
    }

    void Do(const std::string& steps) {
        h_->log.push_back("> " + std::to_string(done_) + ": " + steps);
        h_->Play(steps);
    }

    // After `waitMs`, the next expiry of one of the timers that are set.
    void Tick(long waitMs) {
        h_->ms += waitMs;
        if (!h_->timers.empty()) {
            const auto it = std::next(h_->timers.begin(), Between(0, std::ssize(h_->timers) - 1));
            const int id = it->first;
            Do("wait " + std::to_string(it->second) + "; tick " + std::to_string(id));
            if (id == kClockTimer && depth_ == 0) {
                TickAgainIfItRepeats();
            }
        }
    }

    // The desktop aims the clock's timer at the next whole second, leaving out the ticks
    // between: while a game runs, a tick at the same reading must change nothing.
    void TickAgainIfItRepeats() {
        const GameState& g = h_->State();
        if (g.gameOver != 0 || g.timeLeft <= 0) {
            return;
        }
        const auto state = [&g] {
            return std::tuple(g.now, g.timeLeftText, g.gameOver, g.timeExpired, g.setScores);
        };
        const auto before = state();
        const std::size_t calls = h_->log.size();
        const QImage image = ++repeats_ % 16 == 0 ? h_->Image().copy() : QImage();
        Do("tick 1");
        Expect(state() == before && h_->log.size() == calls + 1 &&
                   (image.isNull() || image == h_->Image()),
               "a clock tick at the same reading changed something");
    }

    // On an arrow or just outside its tolerance, anywhere in a block or its gaps, anywhere,
    // or on the column, its edges and just beyond.
    std::string PickPress() {
        const GameState& g = h_->State();
        const Rect& r = g.blockRect[Between(0, kBlockCount - 1)];
        const Rect& hot = kArrowHotSpots[Between(0, kArrowCount - 1)];
        const Rect& c = g.anotherSetRect;
        const int kind = Between(0, 9);
        const Rect a = hot.Offset(r.left, r.top);
        const Rect area = kind < 5   ? Rect{a.left - 3, a.top - 3, a.right + 2, a.bottom + 2}
                          : kind < 8 ? Rect{r.left - 1, r.top - 1, r.left + 180, r.top + 180}
                          : kind < 9 ? Rect{-20, -20, g.clientRect.right, g.clientRect.bottom}
                                     : Rect{c.left - 1, c.top - 1, c.right + 1, c.bottom + 1};
        return "press " + std::to_string(Between(area.left, area.right)) + " " +
               std::to_string(Between(area.top, area.bottom));
    }

    void Expect(bool holds, const std::string& what) {
        if (!holds && failure_.empty()) {
            failure_ = what + "\n  seed " + std::to_string(seed_) + ", event " +
                       std::to_string(done_) + "; the last calls:\n";
            for (const std::string& line : h_->log) {
                failure_ += "    " + line + "\n";
            }
        }
    }

    void Check() {
        const GameState& g = h_->State();
        const std::string broken = BrokenInvariant(g, kMinimumClientWidth);
        Expect(broken.empty(), broken);
        const bool narrow = g.clientRect.right < kMinimumClientWidth;
        Expect(h_->timers.size() <= (bothTimers_ ? 2u : 1u), "two timers set");
        Expect(!narrow || (h_->timers.empty() && g.gameOver == 1), "play behind the warning");
        Expect(g.gameOver == 1 || g.clockRunning == 0 || h_->timers.count(1) == 1, "no clock");
    }

    std::uint64_t seed_;
    std::mt19937_64 rng_;
    std::unique_ptr<ViewHarness> h_;
    std::string failure_;
    long done_ = 0;
    int depth_ = 0;
    long repeats_ = 0;
    bool bothTimers_ = false;
};

long FromEnvironment(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr ? std::strtol(text, nullptr, 10) : fallback;
}

TEST(Soak, TheViewKeepsItsInvariantsThroughRandomRunsOfTheProgram) {
    const long seed = FromEnvironment("TESSAFORM_SOAK_SEED", 20'240'601);
    const long events = FromEnvironment("TESSAFORM_SOAK_EVENTS", TESSAFORM_SOAK_EVENTS_DEFAULT);
    std::printf("soak: seed %ld, %ld events\n", seed, events);
    Soak soak(static_cast<std::uint64_t>(seed));
    const std::string failure = soak.Run(events);
    std::printf("soak: %ld runs of the program, %ld games ended, %ld sets\n", soak.runs, soak.games,
                soak.sets);
    ASSERT_EQ(failure, "");
    EXPECT_GT(soak.sets, 0);
}

}  // namespace
}  // namespace tessaform::testing
