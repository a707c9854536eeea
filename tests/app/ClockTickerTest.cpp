// The clock's ticker: its ticks wait in the GUI queue one at a time, and none is posted
// while the clock reads what the game said would only repeat the last tick.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimerEvent>
#include <atomic>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "ClockTicker.h"

namespace tessaform {
namespace {

struct FakeClock : ClockPort {
    std::atomic<CalendarTime> reading = 100;
    CalendarTime Now() override { return reading; }
    std::string FormatLocal(CalendarTime) override { return {}; }
};

struct Receiver : QObject {
    std::vector<std::pair<int, CalendarTime>> ticks;  // event id, clock reading
    std::function<void()> onTick;
    FakeClock* clock;
    void timerEvent(QTimerEvent* event) override {
        ticks.emplace_back(event->timerId(), clock->reading.load());
        onTick();
    }
};

TEST(ClockTicker, PostsOneTickAtATimeAndNoneAtTheRepeatingReading) {
    FakeClock clock;
    Receiver receiver;
    receiver.clock = &clock;
    ClockTicker ticker(&receiver, clock);
    receiver.onTick = [] {};
    ticker.Start(-7, std::chrono::milliseconds(50));
    for (int second = 0; second < 2; ++second) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        QCoreApplication::sendPostedEvents(&receiver);
    }
    EXPECT_EQ(receiver.ticks.size(), 1u) << "a tick not yet taken is not posted again";

    // As the view does: each tick says it would repeat at its reading, then is taken.
    receiver.onTick = [&] { ticker.SetRepeatingReading(clock.reading.load()), ticker.Taken(); };
    ticker.Taken();
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.ticks.size() == 2; }, 20000));
    QTest::qWait(1500);
    clock.reading = 101;
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.ticks.size() == 3; }, 20000));
    QTest::qWait(1000);
    ticker.Stop();
    clock.reading = 102;
    QTest::qWait(1000);
    using Ticks = std::vector<std::pair<int, CalendarTime>>;
    EXPECT_EQ(receiver.ticks, (Ticks{{-7, 100}, {-7, 100}, {-7, 101}}));
}

}  // namespace
}  // namespace tessaform
