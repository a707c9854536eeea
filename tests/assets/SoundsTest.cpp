// The six sounds: their length, and each its own character.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Resources.h"
#include "Wave.h"

namespace tessaform {

using Signal = std::vector<double>;
constexpr double kRate = 22050;

// Each channel as playback reads it, scaled to -1..1; playback asks for the type in lower case.
static std::vector<Signal> Channels(int id) {
    const WaveImage w = ParseWave(FindResource("sound", id)).value_or(WaveImage{});
    std::vector<Signal> channels(w.channels);
    for (std::size_t at = 0; at < w.data.size(); at += w.bitsPerSample / 8) {
        channels[at / (w.bitsPerSample / 8) % w.channels].push_back(
            w.bitsPerSample == 8 ? (w.data[at] - 128) / 128.0
                                 : std::int16_t(w.data[at] | w.data[at + 1] << 8) / 32768.0);
    }
    return channels;
}

// How long each plays, which the game waits out whatever the format it is stored in.
TEST(Sounds, LastTheirLength) {
    const std::pair<int, double> sounds[] = {{154, 4.242}, {155, 1.25},  {156, 1.25},
                                             {157, 0.4},   {158, 1.248}, {159, 1.3}};
    for (const auto& [id, seconds] : sounds) {
        const auto wave = ParseWave(FindResource("sound", id));
        EXPECT_NEAR(wave ? wave->Seconds() : 0, seconds, 0.001) << "sound " << id;
    }
}

TEST(Sounds, AreLoudAndQuietWhereTheirCharacterWantsIt) {
    // Id, from and to in seconds, the least and the most peak there: the deal's three
    // riffles of cards with silence around them, the last the loudest; the bells and the
    // falling tones loud at first, then fading, the boxing bell ringing on; the rest silent.
    const std::tuple<int, double, double, double, double> levels[] = {
        {154, 0, 0.56, 0, 0.016},    {154, 0.68, 1.14, 0.2, 0.7}, {154, 1.28, 1.86, 0, 0.016},
        {154, 2.0, 2.44, 0.2, 0.7},  {154, 2.58, 3.38, 0, 0.016}, {154, 3.52, 3.78, 0.8, 1},
        {154, 3.92, 4.24, 0, 0.016}, {155, 0, 0.1, 0.5, 1},       {155, 1.15, 1.25, 0, 0.2},
        {156, 0, 0.1, 0.7, 1},       {156, 1.15, 1.25, 0, 0.15},  {157, 0, 0.4, 0, 1.0 / 128},
        {158, 0, 0.1, 0.5, 1},       {158, 1.0, 1.1, 0.05, 0.3},  {159, 0, 0.1, 0.5, 1},
        {159, 1.2, 1.3, 0, 0.15}};
    for (const auto& [id, from, to, least, most] : levels) {
        for (const Signal& s : Channels(id)) {
            // The largest swing from the mid level between the two times.
            const auto first = std::min(s.size(), static_cast<std::size_t>(from * kRate));
            const auto last = std::clamp(static_cast<std::size_t>(to * kRate), first, s.size());
            const double peak =
                std::accumulate(s.begin() + first, s.begin() + last, 0.0,
                                [](double p, double x) { return std::max(p, std::abs(x)); });
            EXPECT_TRUE(least <= peak && peak <= most)
                << "sound " << id << " from " << from << " s: " << peak;
        }
    }
}

}  // namespace tessaform
