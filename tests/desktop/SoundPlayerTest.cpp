// Playback over SDL's dummy and disk drivers, the stream's opening and closing, and the
// wave images the player accepts.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "Fakes.h"
#include "Resources.h"
#include "SoundPlayer.h"
#include "Wave.h"

namespace tessaform {

// Each test picks its SDL driver before the first sound, which starts SDL.
struct Playback : ::testing::Test {
    testing::Log shown;
    testing::FakeMessages messages{shown};     // modal: its loop runs `whileOpen`
    std::string log;                           // the player's lines, joined by ", "
    std::vector<std::function<void()>> later;  // closes asked for, run by hand
    SoundPlayer player{messages,
                       [this](const std::string& line) { log += (log.empty() ? "" : ", ") + line; },
                       [this](int, const std::function<void()>& call) { later.push_back(call); }};
};

TEST_F(Playback, WaitsForAWaitingSoundCutsAnAsyncOneAndFailsAnUnknownOne) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const auto start = std::chrono::steady_clock::now();
    player.PlaySoundSync(157);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    // 158 rings for 1.25 s: only if its call came back at once can 156 cut it.
    player.PlaySoundAsync(158);
    ASSERT_EQ(later.size(), 2u) << "a close after each sound";
    later.front()();  // 157's close comes due while 158 rings: it leaves the stream open
    player.PlaySoundAsync(156);
    player.PlaySoundSync(160);   // no such sound: nothing happens
    player.PlaySoundAsync(153);  // a picture, not a sound: the warning, as for any failure
    later.back()();              // the last sound's close
    EXPECT_EQ(log,
              "driver dummy, stream open, start 157 sync, end 157, start 158 async, cut 158, "
              "start 156 async, warning, stream closed");
    // A logout or `kill` must end the program: SDL would take these for its own event queue.
    // Putting back the default hands back the handler in place, which must be that default.
    for (int signal : {SIGTERM, SIGINT}) {
        EXPECT_EQ(std::signal(signal, SIG_DFL), SIG_DFL) << "signal " << signal;
    }
}

// The disk driver stands in for a sound server that comes and goes under a running game: its
// file cannot be made (no server), is full (the server dies during a sound: SDL notices), or
// takes a buffer only every 2 s (the server stops taking sound: SDL does not notice).
TEST_F(Playback, EachSoundLooksForTheServerAgainAndOnlyTheFirstFailingAsyncOneWarns) {
    const char* none = "/nonexistent/sound.raw";
    // The driver, its file, the milliseconds it takes per buffer (SDL's own pace when null),
    // whether the sound waits, the sound, and what the player says.
    const std::tuple<const char*, const char*, const char*, bool, int, const char*> steps[] = {
        {"no-such-driver", none, nullptr, true, 154, "no device"},
        {"no-such-driver", none, nullptr, false, 156, "no device, warning, no device"},
        {"disk", "/dev/full", nullptr, true, 157,
         "driver disk, stream open, start 157 sync, end 157"},
        {"disk", none, nullptr, false, 159, "stream lost, no device"},
        {"disk", "/dev/null", "2000", true, 157,
         "driver disk, stream open, start 157 sync, end 157, stream lost"},
        {"disk", "/dev/null", nullptr, false, 156, "stream open, start 156 async"},
    };
    // The box's loop delivers a clock tick that ends the game, with its sound.
    messages.whileOpen = [&](const std::string&) { player.PlaySoundAsync(158); };
    for (const auto& [driver, file, msPerBuffer, sync, id, said] : steps) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", file, 1);
        msPerBuffer ? setenv("SDL_DISKAUDIODELAY", msPerBuffer, 1) : unsetenv("SDL_DISKAUDIODELAY");
        log.clear();
        sync ? player.PlaySoundSync(id) : player.PlaySoundAsync(id);
        EXPECT_EQ(log, said);
    }
    EXPECT_TRUE(later.empty()) << "reopening would start the disk driver's recording anew";
    EXPECT_EQ(shown, testing::Log{"message Cannot play sound.\nThis game works much better with a "
                                  "sound card. / Tessaform"});
}

// A FIFO that nothing reads stands in for a server that never answers: the disk driver's opening
// waits in open(2) for a reader, as SDL's pipewire driver waits for a session manager to link
// its stream. The sound that started it waits a bounded time; the later ones skip at once.
TEST_F(Playback, AnOpeningThatNeverEndsHoldsOneSoundBrieflyAndSoundComesBackAfterIt) {
    char folder[] = "/tmp/tessaform-sound-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string fifo = std::string(folder) + "/server";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", fifo.c_str(), 1);
    unsetenv("SDL_DISKAUDIODELAY");
    const auto start = std::chrono::steady_clock::now();
    player.PlaySoundSync(157);
    const auto held = std::chrono::steady_clock::now() - start;
    EXPECT_GE(held, std::chrono::milliseconds(1500)) << "gave up before the server could answer";
    player.PlaySoundAsync(156);  // the first failing sound not waited for: the warning
    player.PlaySoundSync(154);
    EXPECT_EQ(log, "no answer, still no answer, warning, still no answer");

    // The server answers at last: the device that comes is closed, which ends the file.
    std::ifstream(fifo).ignore(std::numeric_limits<std::streamsize>::max());
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    // The opening's thread may still be quitting SDL's audio as the file closes.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    do {
        log.clear();
        player.PlaySoundSync(157);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (log == "still no answer" && std::chrono::steady_clock::now() < deadline);
    EXPECT_EQ(log, "driver disk, stream open, start 157 sync, end 157");
    EXPECT_EQ(shown.size(), 1u);
    unlink(fifo.c_str());
    rmdir(folder);
}

// ---- the images: what the game makes plays, anything else is refused ----

TEST(WaveImages, OnlyWholeUncompressedImagesOfTheGamesOwnKindPlay) {
    const auto original = FindResource(kSoundType, 159);  // 16-bit mono, with fact and LIST
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
        {"RIFF size past the end", [&](Image& i) { put(i, 4, i.size()); }},
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
        Image damaged(original.begin(), original.end());
        harm(damaged);
        EXPECT_FALSE(ParseWave(damaged).has_value()) << name;
    }
}

}  // namespace tessaform
