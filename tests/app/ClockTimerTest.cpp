// The clock's timer: aimed at each new second of the time of day, never stopped by a jump of
// it, and, in the running program, waking it about once a second rather than twenty times.
#include <gtest/gtest.h>

#include <QEvent>
#include <QObject>
#include <QTest>
#include <chrono>
#include <optional>
#include <vector>

#include "AppFixture.h"
#include "QtPorts.h"

namespace tessaform::testing {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

std::vector<milliseconds> Every(milliseconds step, milliseconds from, milliseconds to) {
    std::vector<milliseconds> at;
    for (milliseconds m = from; m < to; m += step) {
        at.push_back(m);
    }
    return at;
}

// A desktop's twenty seconds, a millisecond at a time: the timer runs on the steady clock
// while the time of day may jump once, and presses re-aim the timer as every handler does.
TEST(ClockTimer, ShowsEachSecondWithin50MsOnceASecondAndAJumpCostsOneTickAtMost) {
    struct Case {
        const char* what;
        milliseconds jumpBy;
        std::vector<milliseconds> presses;
    };
    const Case cases[] = {
        {"steady", 0ms, {}},
        {"set forward half a second", 500ms, {}},
        {"set back 0.3 s", -300ms, {}},
        {"set back an hour", -1h, {}},
        {"a suspend of a day", 24h + 700ms, {}},
        {"presses", 0ms, {3'010ms, 3'020ms, 3'300ms, 9'990ms, 12'001ms}},
        {"a press every 30 ms", 0ms, Every(30ms, 5s, 8s)},
    };
    for (const Case& c : cases) {
        const std::vector<milliseconds>& presses = c.presses;
        const std::chrono::system_clock::time_point start(1'700'000'000'437ms);
        const milliseconds jumpAt = 7'777ms, end = 20s;
        const auto timeOfDay = [&](milliseconds m) {
            return start + m + (m >= jumpAt ? c.jumpBy : 0ms);
        };
        const auto reading = [&](milliseconds m) {
            return std::chrono::floor<std::chrono::seconds>(timeOfDay(m));
        };

        const auto steady = [](milliseconds m) { return std::chrono::steady_clock::time_point(m); };
        auto due = steady(50ms);  // as set, at the clock's interval
        std::optional<decltype(reading(0ms))> shown;
        std::optional<milliseconds> pressed;
        std::size_t next = 0;
        int ticks = 0, longWrong = 0;
        milliseconds wrong = 0ms, worst = 0ms;
        for (milliseconds m = 0ms; m < end; ++m) {
            if (next < presses.size() && presses[next] == m) {
                due = ClockTimerDue(timeOfDay(m), steady(m), 50ms, due);
                pressed = pressed.value_or(m);
                ++next;
            }
            if (steady(m) >= due) {
                due = ClockTimerDue(timeOfDay(m), steady(m), 50ms, std::nullopt);
                shown = reading(m);
                ++ticks;
                EXPECT_LE(m - pressed.value_or(m), 50ms) << c.what << ": no tick after a press";
                pressed.reset();
            }
            if (shown != reading(m)) {
                ++wrong;
            } else if (std::exchange(wrong, 0ms) > 50ms) {
                ++longWrong;
                worst = std::max(worst, wrong);
            }
            worst = std::max(worst, wrong);
        }
        EXPECT_LE(worst, c.jumpBy == 0ms ? 50ms : 1'002ms) << c.what;
        EXPECT_LE(longWrong, c.jumpBy == 0ms ? 0 : 1) << c.what;
        // Once a second, and once more after each press at most.
        EXPECT_GE(ticks, 19) << c.what;
        EXPECT_LE(ticks, 22 + static_cast<int>(presses.size())) << c.what;
    }
}

// Timer events reaching the view while a game runs untouched, and the seconds it showed.
struct TickCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        ticks += event->type() == QEvent::Timer;
        return false;
    }
    int ticks = 0;
};

TEST(ClockTimer, AGameLeftAloneWakesTheViewAboutOnceASecond) {
    RunningApp run;
    TickCounter counter;
    run.Frame().View().installEventFilter(&counter);
    std::vector<std::string> shown{run.State().timeLeftText};
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (run.State().timeLeftText != shown.back()) {
                shown.push_back(run.State().timeLeftText);
            }
            return shown.size() > 4;
        },
        90'000));
    // Four new seconds: twenty ticks a second would bring sixty or more.
    EXPECT_LE(counter.ticks, 4 * 2 + 2) << shown.back();
    EXPECT_GE(counter.ticks, 4);
}

}  // namespace
}  // namespace tessaform::testing
