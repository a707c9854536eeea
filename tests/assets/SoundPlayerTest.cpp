// Playback over SDL's dummy and disk drivers, the stream's opening and closing, and the
// wave images the player accepts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Resources.h"
#include "SoundPlayer.h"
#include "Wave.h"

namespace tessaform {
namespace {

using Lines = std::vector<std::string>;

class RecordingMessages : public MessageBoxPort {
public:
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override {
        shown.push_back(caption + ": " + text);
        if (whileOpen) {
            std::exchange(whileOpen, {})();
        }
    }
    std::function<void()> whileOpen;  // what the box's own loop delivers meanwhile
    Lines shown;
};

// Each test picks its own SDL driver; the warning flag is per process, so reset it.
class Playback : public ::testing::Test {
protected:
    void UseDriver(const char* driver) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        soundWarningShown = 0;
    }
    SoundPlayer::Log ToLog() {
        return [this](const std::string& line) { log.push_back(line); };
    }
    SoundPlayer::Later ToLater() {
        return [this](int ms, std::function<void()> call) { later.push_back({ms, call}); };
    }
    RecordingMessages messages;
    Lines log;
    struct Call {
        int ms;
        std::function<void()> run;
    };
    std::vector<Call> later;  // the closes the player asked for, run by hand
};

TEST_F(Playback, WaitsForAWaitingSoundAndCutsAnAsyncOneWithTheNext) {
    UseDriver("dummy");
    SoundPlayer player(messages, ToLog(), ToLater());
    const auto start = std::chrono::steady_clock::now();
    player.PlaySoundSync(157);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    // 158 rings for 1.25 s: only if its call came back at once can 156 cut it.
    player.PlaySoundAsync(158);
    player.PlaySoundAsync(156);
    EXPECT_EQ(log, (Lines{"stream open", "start 157 sync", "end 157", "start 158 async", "cut 158",
                          "start 156 async"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Playback, TheStreamClosesSoonAfterTheLastSoundAndOpensForTheNext) {
    UseDriver("dummy");
    SoundPlayer player(messages, ToLog(), ToLater());
    player.PlaySoundAsync(156);
    player.PlaySoundAsync(157);
    ASSERT_EQ(later.size(), 2u);
    for (auto [call, soundMs] : {std::pair{0, 1250}, {1, 400}}) {
        EXPECT_GE(later[call].ms, soundMs);
        EXPECT_LE(later[call].ms, soundMs + 1000);
    }
    later[0].run();  // 156's close comes after 157 has started: nothing happens
    EXPECT_EQ(log.back(), "start 157 async");
    later[1].run();
    EXPECT_EQ(log.back(), "stream closed");
    player.PlaySoundSync(155);
    ASSERT_EQ(later.size(), 3u);
    EXPECT_LE(later[2].ms, 1000);
    later[2].run();
    EXPECT_EQ(Lines(log.end() - 4, log.end()),
              (Lines{"stream open", "start 155 sync", "end 155", "stream closed"}));
}

TEST_F(Playback, TheDiskDriverKeepsItsOneRecordingOpen) {
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("tessaform-playback-" + std::to_string(getpid()));
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    UseDriver("disk");
    {
        SoundPlayer player(messages, ToLog(), ToLater());
        player.PlaySoundSync(156);
        EXPECT_TRUE(later.empty()) << "reopening would start the recording anew";
    }
    std::ifstream in(out, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    std::filesystem::remove(out);
    ASSERT_GE(bytes.size(), 4u * 22050u);  // at least a second of 16-bit stereo
    int peak = 0;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                                 (static_cast<uint8_t>(bytes[i + 1]) << 8));
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    EXPECT_GT(peak, 8000) << "the ding should be loud in the recording";
}

TEST_F(Playback, WithoutADeviceWarnsOnceAtTheFirstFailingAsyncSoundOnly) {
    UseDriver("no-such-driver");
    SoundPlayer player(messages, ToLog());
    player.PlaySoundSync(154);
    EXPECT_TRUE(messages.shown.empty()) << "a waiting sound fails in silence";
    // The box's loop delivers a clock tick that ends the game, with its sound.
    messages.whileOpen = [&] { player.PlaySoundAsync(158); };
    player.PlaySoundAsync(156);
    player.PlaySoundAsync(160);   // no such sound
    SoundPlayer again(messages);  // as after a new set
    again.PlaySoundAsync(159);
    EXPECT_EQ(
        messages.shown,
        Lines{"Tessaform: Cannot play sound.\nThis game works much better with a sound card."});
    EXPECT_EQ(log, Lines{"no device"});
}

TEST_F(Playback, AnUnknownSoundPlaysNothingAndCountsAsAFailure) {
    UseDriver("dummy");
    SoundPlayer player(messages, ToLog());
    player.PlaySoundSync(160);
    EXPECT_TRUE(messages.shown.empty());
    player.PlaySoundAsync(153);  // a picture, not a sound
    player.PlaySoundAsync(160);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(log.empty());
}

TEST_F(Playback, LeavesTheTerminationSignalsToTheProgram) {
    UseDriver("dummy");
    SoundPlayer player(messages);
    player.PlaySoundAsync(157);
    for (int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

// ---- the images: what the game makes plays, anything else is refused ----

using Image = std::vector<std::uint8_t>;

std::size_t At(const Image& image, const char* tag) {
    return static_cast<std::size_t>(std::search(image.begin(), image.end(), tag, tag + 4) -
                                    image.begin());
}

void Put32(Image& image, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

TEST(WaveImages, OnlyWholeUncompressedImagesOfTheGamesOwnKindPlay) {
    const auto made = FindResource(kSoundType, 159);  // 16-bit mono, with fact and LIST
    const Image original(made.begin(), made.end());
    const auto wave = ParseWave(original);
    ASSERT_TRUE(wave.has_value());
    EXPECT_EQ(wave->channels * 100 + wave->bitsPerSample, 116);
    EXPECT_NEAR(wave->Seconds(), 1.3, 0.001);

    const std::size_t data = At(original, "data"), fact = At(original, "fact");
    const std::uint32_t dataBytes = original[data + 4] | original[data + 5] << 8 |
                                    original[data + 6] << 16 | original[data + 7] << 24;
    const std::vector<std::pair<const char*, std::function<void(Image&)>>> damage = {
        {"cut inside the samples", [&](Image& i) { i.resize(data + 8 + dataBytes / 2); }},
        {"cut in the last chunk", [](Image& i) { i.resize(i.size() - 3); }},
        {"RIFF size past the end",
         [](Image& i) { Put32(i, 4, static_cast<std::uint32_t>(i.size())); }},
        {"RIFF size ending in the samples", [&](Image& i) { Put32(i, 4, data + dataBytes / 2); }},
        {"data size past its chunk", [&](Image& i) { Put32(i, data + 4, dataBytes + 200); }},
        {"half a frame of data", [&](Image& i) { Put32(i, data + 4, dataBytes - 1); }},
        {"fact counting more frames", [&](Image& i) { Put32(i, fact + 8, dataBytes / 2 + 1); }},
        {"float samples", [](Image& i) { i[20] = 3; }},
        {"ADPCM", [](Image& i) { i[20] = 2; }},
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
