// Playback over SDL's dummy and disk drivers, the stream's opening and closing, and the
// wave images the player accepts.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Resources.h"
#include "SoundPlayer.h"
#include "Wave.h"

namespace tessaform {
namespace {

using Lines = std::vector<std::string>;

struct RecordingMessages : MessageBoxPort {
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override {
        shown.push_back(caption + ": " + text);
        if (auto delivered = std::exchange(whileOpen, {}))
            delivered();
    }
    std::function<void()> whileOpen;  // what the box's own loop delivers meanwhile
    Lines shown;
};

class Playback : public ::testing::Test {
protected:
    // Each test picks its own SDL driver.
    SoundPlayer& Open(const char* driver) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        return player.emplace(
            messages, [this](const std::string& line) { log.push_back(line); },
            [this](int, std::function<void()> call) { later.push_back(call); });
    }
    RecordingMessages messages;
    Lines log;
    std::vector<std::function<void()>> later;  // closes asked for, run by hand
    std::optional<SoundPlayer> player;
};

TEST_F(Playback, WaitsForAWaitingSoundCutsAnAsyncOneAndFailsAnUnknownOne) {
    SoundPlayer& sound = Open("dummy");
    const auto start = std::chrono::steady_clock::now();
    sound.PlaySoundSync(157);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    // 158 rings for 1.25 s: only if its call came back at once can 156 cut it.
    sound.PlaySoundAsync(158);
    ASSERT_EQ(later.size(), 2u) << "a close after each sound";
    later.front()();  // 157's close comes due while 158 rings: it leaves the stream open
    sound.PlaySoundAsync(156);
    sound.PlaySoundSync(160);   // no such sound: nothing happens
    sound.PlaySoundAsync(153);  // a picture, not a sound: the warning, as for any failure
    EXPECT_EQ(messages.shown.size(), 1u);
    later.back()();  // the last sound's close
    EXPECT_EQ(log,
              (Lines{"driver dummy", "stream open", "start 157 sync", "end 157", "start 158 async",
                     "cut 158", "start 156 async", "warning", "stream closed"}));
    // A logout or `kill` must end the program: SDL would take these for its own event queue.
    for (int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

// The disk driver stands in for a sound server that comes and goes under a running game: its
// file cannot be made (no server), is full (the server dies during a sound: SDL notices), or
// takes a buffer only every 2 s (the server stops taking sound: SDL does not notice).
TEST_F(Playback, EachSoundLooksForTheServerAgainAndOnlyTheFirstFailingAsyncOneWarns) {
    struct Step {
        const char* driver;
        const char* file;
        const char* msPerBuffer;  // SDL's own pace when null
        bool sync;
        int id;
        const char* said;
    };
    const char* none = "/nonexistent/sound.raw";
    const std::vector<Step> steps = {
        {"no-such-driver", none, nullptr, true, 154, "no device"},
        {"no-such-driver", none, nullptr, false, 156, "no device, warning, no device"},
        {"disk", none, nullptr, false, 158, "driver disk, no device"},
        {"disk", "/dev/full", nullptr, true, 157,
         "driver disk, stream open, start 157 sync, end 157"},
        {"disk", none, nullptr, false, 159, "stream lost, no device"},
        {"disk", "/dev/null", "2000", true, 157,
         "driver disk, stream open, start 157 sync, end 157, stream lost"},
        {"disk", "/dev/null", nullptr, false, 156, "stream open, start 156 async"},
    };
    SoundPlayer& sound = Open("no-such-driver");
    // The box's loop delivers a clock tick that ends the game, with its sound.
    messages.whileOpen = [&] { sound.PlaySoundAsync(158); };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        setenv("SDL_AUDIODRIVER", step.driver, 1);
        setenv("SDL_DISKAUDIOFILE", step.file, 1);
        step.msPerBuffer ? setenv("SDL_DISKAUDIODELAY", step.msPerBuffer, 1)
                         : unsetenv("SDL_DISKAUDIODELAY");
        const std::size_t before = log.size();
        step.sync ? sound.PlaySoundSync(step.id) : sound.PlaySoundAsync(step.id);
        std::string said;
        for (std::size_t line = before; line < log.size(); ++line) {
            said += (line > before ? ", " : "") + log[line];
        }
        EXPECT_EQ(said, step.said) << "step " << i;
    }
    EXPECT_TRUE(later.empty()) << "reopening would start the disk driver's recording anew";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SoundPlayer again(messages);  // as after a new set
    again.PlaySoundAsync(159);
    EXPECT_EQ(
        messages.shown,
        Lines{"Tessaform: Cannot play sound.\nThis game works much better with a sound card."});
}

// ---- the images: what the game makes plays, anything else is refused ----

TEST(WaveImages, OnlyWholeUncompressedImagesOfTheGamesOwnKindPlay) {
    const auto made = FindResource(kSoundType, 159);  // 16-bit mono, with fact and LIST
    const std::vector<std::uint8_t> original(made.begin(), made.end());
    const auto wave = ParseWave(original);
    ASSERT_TRUE(wave.has_value());
    // The layout the game writes: "fmt " at 12, "fact" at 36, "data" at 48, LIST after it.
    ASSERT_EQ(std::string(original.begin() + 48, original.begin() + 52), "data");
    const auto bytes = static_cast<std::uint32_t>(wave->data.size());
    using Image = std::vector<std::uint8_t>;
    const auto put = [](Image& i, std::size_t at, std::uint32_t v) { std::memcpy(&i[at], &v, 4); };
    const std::vector<std::pair<const char*, std::function<void(Image&)>>> damage = {
        {"cut inside the samples", [&](Image& i) { i.resize(56 + bytes / 2); }},
        {"cut in the last chunk", [](Image& i) { i.resize(i.size() - 3); }},
        {"RIFF size past the end",
         [&](Image& i) { put(i, 4, static_cast<std::uint32_t>(i.size())); }},
        {"RIFF size ending in the samples", [&](Image& i) { put(i, 4, 48 + bytes / 2); }},
        {"data size past its chunk", [&](Image& i) { put(i, 52, bytes + 200); }},
        {"half a frame of data", [&](Image& i) { put(i, 52, bytes - 1); }},
        {"fact counting more frames", [&](Image& i) { put(i, 44, bytes / 2 + 1); }},
        {"A-law, which SDL reads as 16-bit", [](Image& i) { i[20] = 6, i[32] = 1, i[34] = 8; }},
        {"24-bit", [](Image& i) { i[34] = 24; }},
        {"three channels", [](Image& i) { i[22] = 3; }},
        {"no format chunk first", [](Image& i) { i[12] = 'X'; }},
        {"not RIFF", [](Image& i) { i[0] = 'X'; }},
    };
    for (const auto& [name, harm] : damage) {
        Image damaged = original;
        harm(damaged);
        EXPECT_FALSE(ParseWave(damaged).has_value()) << name;
    }
}

}  // namespace
}  // namespace tessaform
