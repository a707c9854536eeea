// The clock's timer: aimed at each new second of the time of day, never stopped by a jump of
// it, and, in the running program, waking it about once a second rather than twenty times.
#include <gtest/gtest.h>

#include <QEvent>
#include <QObject>
#include <QTest>
#include <chrono>
#include <optional>
#include <tuple>

#include "AppFixture.h"
#include "QtPorts.h"

namespace tessaform::testing {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

// Where the clock's timer is aimed at a moment of the time of day, after its own expiry
// (no due) or after another handler (the due that stands): just past the next whole second,
// whatever the time of day did before, and after another handler soon enough to show
// what it did, without putting off an expiry already due.
TEST(ClockTimer, AimsJustPastTheNextSecondAndSoonAfterAnotherHandler) {
    // The time of day, the due that stands (none after its own expiry), and the aim.
    const std::tuple<milliseconds, std::optional<milliseconds>, milliseconds> cases[] = {
        {437ms, {}, 565ms},        // its own expiry: 2 ms past the second, to be sure of it
        {1'000ms, {}, 1'002ms},    // on the second: the next one
        {1'999ms, {}, 3ms},        // a millisecond before it
        {-1h + 437ms, {}, 565ms},  // set back an hour
        {24h + 700ms, {}, 302ms},  // a suspend of a day
        {437ms, 30ms, 30ms},       // after another handler: an expiry already due stands
        {437ms, 900ms, 50ms},      // a later one comes within the interval
        {990ms, 900ms, 12ms},      // or at the next second, if that comes first
    };
    const std::chrono::system_clock::time_point day(1'700'000'000s);
    const std::chrono::steady_clock::time_point now(1h);
    for (const auto& [timeOfDay, due, aim] : cases) {
        const auto standing = due ? std::optional(now + *due) : std::nullopt;
        EXPECT_EQ(ClockTimerDue(day + timeOfDay, now, 50ms, standing) - now, aim)
            << timeOfDay.count() << " ms into the day";
    }
}

// Timer events reaching the view while a game runs untouched.
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
    const TimeSpan start = run.State().timeLeft;
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.State().timeLeft <= start - 4; }, 90'000));
    // Four new seconds, each shown by a tick: twenty ticks a second would bring sixty or more.
    EXPECT_LE(counter.ticks, 4 * 2 + 2) << "from " << start << " s left";
}

}  // namespace tessaform::testing
