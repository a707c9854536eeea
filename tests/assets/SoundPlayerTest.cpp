#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Resources.h"
#include "SoundPlayer.h"
#include "Wave.h"

namespace tessaform {
namespace {

class RecordingMessages : public MessageBoxPort {
public:
    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override {
        shown.push_back({text, caption, icon});
        if (whileOpen) {
            whileOpen();
        }
    }
    std::function<void()> whileOpen;  // what the box's own loop delivers meanwhile
    struct Shown {
        std::string text, caption;
        MessageIcon icon;
    };
    std::vector<Shown> shown;
};

double SecondsOf(int id) {
    return ParseWave(FindResource(kSoundType, id))->Seconds();
}

template <typename F>
double Timed(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Each test picks its own SDL driver; the warning flag is per process, so reset it.
class Playback : public ::testing::Test {
protected:
    void UseDriver(const char* driver) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        soundWarningShown = 0;
    }
    RecordingMessages messages;
};

TEST_F(Playback, SyncWaitsForTheWholeSoundAndAsyncReturnsAtOnce) {
    UseDriver("dummy");
    SoundPlayer player(messages);
    EXPECT_GE(Timed([&] { player.PlaySoundSync(157); }), SecondsOf(157));
    EXPECT_GE(Timed([&] { player.PlaySoundSync(155); }), SecondsOf(155));
    // A generous bound: the point is that it does not wait for the 1.25 s sound.
    EXPECT_LT(Timed([&] { player.PlaySoundAsync(158); }), 0.5);
    EXPECT_LT(Timed([&] { player.PlaySoundAsync(156); }), 0.5);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Playback, WithoutADeviceWarnsOnceAtTheFirstAsyncSoundOnly) {
    UseDriver("no-such-driver");
    SoundPlayer player(messages);
    EXPECT_LT(Timed([&] { player.PlaySoundSync(154); }), 0.5);
    EXPECT_TRUE(messages.shown.empty()) << "a waiting sound fails in silence";

    player.PlaySoundAsync(156);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Cannot play sound.\nThis game works much better with a sound card.");
    EXPECT_EQ(messages.shown[0].caption, "Tessaform");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::kExclamation);

    player.PlaySoundAsync(158);
    player.PlaySoundSync(155);
    player.PlaySoundAsync(159);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(soundWarningShown, 1);

    // A new player in the same run, as after a new set, stays quiet too.
    SoundPlayer again(messages);
    again.PlaySoundAsync(159);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(Playback, ASoundFailingWhileTheWarningIsOpenShowsNoSecondWarning) {
    UseDriver("no-such-driver");
    SoundPlayer player(messages);
    // The box's loop delivers a clock tick that ends the game, with its sound.
    messages.whileOpen = [&] {
        messages.whileOpen = {};
        player.PlaySoundAsync(158);
    };
    player.PlaySoundAsync(156);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(soundWarningShown, 1);
}

TEST_F(Playback, AnUnknownSoundPlaysNothingAndCountsAsAFailure) {
    UseDriver("dummy");
    SoundPlayer player(messages);
    EXPECT_LT(Timed([&] { player.PlaySoundSync(160); }), 0.2);
    EXPECT_TRUE(messages.shown.empty());
    player.PlaySoundAsync(160);
    EXPECT_EQ(messages.shown.size(), 1u);
    player.PlaySoundAsync(153);  // a picture, not a sound
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(Playback, TheDiskDriverRecordsTheSoundThatWasPlayed) {
    const std::filesystem::path out =
        std::filesystem::temp_directory_path() / ("tessaform-playback-" + std::to_string(getpid()));
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    UseDriver("disk");
    {
        SoundPlayer player(messages);
        player.PlaySoundSync(156);
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
    EXPECT_TRUE(messages.shown.empty());
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

}  // namespace
}  // namespace tessaform
