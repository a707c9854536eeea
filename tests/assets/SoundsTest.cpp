#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <numbers>
#include <numeric>
#include <ostream>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "Resources.h"
#include "Wave.h"

namespace tessaform {
namespace {

using Bytes = std::span<const std::uint8_t>;
using Signal = std::vector<double>;
constexpr double kRate = 22050;

std::uint32_t Le(Bytes b, std::size_t at, std::size_t size) {
    std::uint32_t v = 0;
    for (std::size_t i = size; i-- > 0;) {
        v = v << 8 | b[at + i];
    }
    return v;
}

std::string Tag(Bytes b, std::size_t at) {
    return std::string(b.begin() + at, b.begin() + at + 4);
}

// Chunk tag and body from `at` on; `exact` tells whether they, padded, fill the bytes.
std::vector<std::pair<std::string, Bytes>> ChunksOf(Bytes b, std::size_t at, bool& exact) {
    std::vector<std::pair<std::string, Bytes>> chunks;
    while (at + 8 <= b.size() && Le(b, at + 4, 4) <= b.size() - at - 8) {
        const std::size_t size = Le(b, at + 4, 4);
        chunks.emplace_back(Tag(b, at), b.subspan(at + 8, size));
        at += 8 + size + size % 2;
    }
    exact = at == b.size();
    return chunks;
}

WaveImage Sound(int id) {
    const auto wave = ParseWave(FindResource(kSoundType, id));
    EXPECT_TRUE(wave.has_value()) << "sound " << id;
    return wave.value_or(WaveImage{});
}

// One channel, scaled to -1..1.
Signal Samples(const WaveImage& w, int channel) {
    Signal out;
    const auto bytes = static_cast<std::size_t>(w.bitsPerSample / 8);
    for (std::size_t at = static_cast<std::size_t>(channel) * bytes; at < w.data.size();
         at += static_cast<std::size_t>(w.FrameBytes())) {
        out.push_back(bytes == 1 ? (w.data[at] - 128) / 128.0
                                 : static_cast<std::int16_t>(Le(w.data, at, 2)) / 32768.0);
    }
    return out;
}

Signal Slice(const Signal& s, double from, double seconds) {
    const auto first = std::min(s.size(), static_cast<std::size_t>(from * kRate));
    const auto count = std::min(s.size() - first, static_cast<std::size_t>(seconds * kRate));
    return Signal(s.begin() + static_cast<std::ptrdiff_t>(first),
                  s.begin() + static_cast<std::ptrdiff_t>(first + count));
}

double Rms(const Signal& s) {
    return std::sqrt(std::inner_product(s.begin(), s.end(), s.begin(), 0.0) /
                     static_cast<double>(std::max<std::size_t>(s.size(), 1)));
}

double Peak(const Signal& s) {
    double peak = 0;
    for (double x : s) {
        peak = std::max(peak, std::abs(x));
    }
    return peak;
}

// Goertzel over a Hann window: how strong one frequency is in the stretch.
double Magnitude(const Signal& s, double hz) {
    const double c = 2 * std::cos(2 * std::numbers::pi * hz / kRate);
    double s1 = 0, s2 = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (s.size() - 1));
        s2 = std::exchange(s1, s[i] * hann + c * s1 - s2);
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - c * s1 * s2));
}

double DominantHz(const Signal& s, double lo, double hi) {
    std::pair<double, double> best{-1, lo};  // magnitude, frequency
    for (double hz = lo; hz <= hi; hz += 10) {
        best = std::max(best, {Magnitude(s, hz), hz});
    }
    return best.second;
}

// ---- all six: the file image, its format and length ----

struct Expected {
    int id, channels, bits;
    std::uint32_t dataBytes;
    double milliseconds;
    bool described;  // carries a LIST/INFO chunk
};

void PrintTo(const Expected& e, std::ostream* os) {
    *os << "sound " << e.id;
}

class EverySound : public ::testing::TestWithParam<Expected> {};

TEST_P(EverySound, IsACompleteRiffWaveImage) {
    const Expected& e = GetParam();
    const Bytes image = FindResource(kSoundType, e.id);
    ASSERT_GE(image.size(), 12u);
    EXPECT_EQ(Tag(image, 0) + Tag(image, 8), "RIFFWAVE");
    EXPECT_EQ(Le(image, 4, 4), image.size() - 8);
    bool exact = false;
    std::map<std::string, Bytes> chunks;
    std::string order;
    for (const auto& [tag, body] : ChunksOf(image, 12, exact)) {
        chunks[tag] = body;
        order += tag + "|";
    }
    EXPECT_TRUE(exact) << "chunks and their pad bytes must fill the image";
    EXPECT_LT(order.find("fmt |"), order.find("data|")) << order;
    ASSERT_EQ(chunks["fmt "].size(), 16u);
    ASSERT_EQ(chunks["fact"].size(), 4u);
    const Bytes fmt = chunks["fmt "];
    const auto align = static_cast<std::uint32_t>(e.channels * e.bits / 8);
    EXPECT_EQ(Le(fmt, 0, 2), 1u);
    EXPECT_EQ(Le(fmt, 2, 2), static_cast<std::uint32_t>(e.channels));
    EXPECT_EQ(Le(fmt, 4, 4), 22050u);
    EXPECT_EQ(Le(fmt, 8, 4), 22050u * align);
    EXPECT_EQ(Le(fmt, 12, 2), align);
    EXPECT_EQ(Le(fmt, 14, 2), static_cast<std::uint32_t>(e.bits));
    EXPECT_EQ(Le(chunks["fact"], 0, 4), e.dataBytes / align);
    EXPECT_EQ(chunks["data"].size(), e.dataBytes);

    ASSERT_EQ(chunks.contains("LIST"), e.described);
    if (e.described) {
        const Bytes list = chunks["LIST"];
        ASSERT_GE(list.size(), 4u);
        EXPECT_EQ(Tag(list, 0), "INFO");
        const auto info = ChunksOf(list, 4, exact);
        EXPECT_TRUE(exact && info.size() >= 2);
        for (const auto& [tag, text] : info) {
            EXPECT_TRUE(tag[0] == 'I' && text.size() >= 2 && text.back() == 0) << tag;
        }
    }
}

TEST_P(EverySound, PlaysForItsLengthWithoutClicksOrClipping) {
    const WaveImage wave = Sound(GetParam().id);
    EXPECT_NEAR(wave.Seconds() * 1000, GetParam().milliseconds, 1.0);
    for (int c = 0; c < wave.channels; ++c) {
        const Signal s = Samples(wave, c);
        ASSERT_FALSE(s.empty());
        EXPECT_LE(std::max(std::abs(s.front()), std::abs(s.back())), 0.02) << "channel " << c;
        EXPECT_LT(Peak(s), 0.99) << "channel " << c;
    }
}

INSTANTIATE_TEST_SUITE_P(Sounds, EverySound,
                         ::testing::Values(Expected{154, 1, 8, 93541, 4242, false},
                                           Expected{155, 1, 8, 27565, 1250, true},
                                           Expected{156, 1, 8, 27565, 1250, true},
                                           Expected{157, 1, 8, 8820, 400, false},
                                           Expected{158, 2, 16, 110048, 1248, true},
                                           Expected{159, 1, 16, 57316, 1300, true}));

// ---- 154: three riffles of cards ----

TEST(DealSound, ThreeFlutteringRifflesAtTheirTimesWithSilenceAround) {
    const Signal s = Samples(Sound(154), 0);
    struct Stretch {
        double start, end, loudest;
    };
    std::vector<Stretch> riffles;  // audible 10 ms windows, joined across gaps between flicks
    for (double t = 0; t < static_cast<double>(s.size()) / kRate; t += 0.01) {
        if (const Signal w = Slice(s, t, 0.01); Peak(w) >= 3.0 / 128) {
            if (riffles.empty() || t - riffles.back().end > 0.15) {
                riffles.push_back({t, t, 0});
            }
            riffles.back().end = t + 0.01;
            riffles.back().loudest = std::max(riffles.back().loudest, Rms(w));
        }
    }
    ASSERT_EQ(riffles.size(), 3u);
    const double starts[] = {0.62, 1.94, 3.46}, ends[] = {1.20, 2.50, 3.84};
    for (int i = 0; i < 3; ++i) {
        const auto [start, end, loudest] = riffles[i];
        EXPECT_NEAR(start, starts[i], 0.06) << "riffle " << i;
        EXPECT_NEAR(end, ends[i], 0.08) << "riffle " << i;
        EXPECT_TRUE(i == 2 || 1.15 * loudest < riffles[2].loudest) << "riffle " << i;

        // A flick: a 3 ms frame far above the quietest of the 15 ms before it.
        Signal frames;
        for (double t = start; t < end; t += 0.003) {
            frames.push_back(Rms(Slice(s, t, 0.003)));
        }
        const double strongest = Peak(frames);
        int flicks = 0;
        for (std::size_t f = 5, last = 0; f < frames.size(); ++f) {
            const double before = *std::min_element(frames.begin() + f - 5, frames.begin() + f);
            if (frames[f] > 3 * before && frames[f] > 0.1 * strongest && f - last >= 5) {
                ++flicks;
                last = f;
            }
        }
        const double perSecond = flicks / (end - start);
        EXPECT_TRUE(perSecond >= 12 && perSecond <= 45) << perSecond << "/s, riffle " << i;
        const double third = (end - start) / 3, middle = Rms(Slice(s, start + third, third));
        EXPECT_GT(middle, std::max(Rms(Slice(s, start, third)), Rms(Slice(s, end - third, third))))
            << "swells and ebbs, riffle " << i;
    }
    for (auto [from, seconds] : {std::pair{0.0, 0.58}, {1.3, 0.6}, {2.6, 0.8}, {3.95, 0.29}}) {
        EXPECT_LT(Peak(Slice(s, from, seconds)), 2.0 / 128) << "quiet from " << from << " s";
    }
}

// ---- 155 and 159: falling pitch ----

struct Glide {
    int id;
    double startHz, endHz;
};

void PrintTo(const Glide& g, std::ostream* os) {
    *os << "sound " << g.id;
}

class FallingSound : public ::testing::TestWithParam<Glide> {};

TEST_P(FallingSound, PitchGlidesDownAndFadesAway) {
    const Glide& g = GetParam();
    const Signal s = Samples(Sound(g.id), 0);
    const double length = static_cast<double>(s.size()) / kRate, window = 1024 / kRate;
    Signal pitch;
    for (double t = 0.01; t + window < length - 0.05; t += 0.1) {
        pitch.push_back(DominantHz(Slice(s, t, window), 300, 5000));
    }
    pitch.push_back(DominantHz(Slice(s, length - 0.05 - window, window), 300, 5000));
    EXPECT_NEAR(pitch.front(), g.startHz, 0.12 * g.startHz);
    EXPECT_NEAR(pitch.back(), g.endHz, 0.15 * g.endHz);
    for (std::size_t i = 1; i < pitch.size(); ++i) {
        EXPECT_LE(pitch[i], 1.12 * pitch[i - 1]) << "window " << i;
    }
    EXPECT_LT(Rms(Slice(s, length - 0.2, 0.2)), 0.3 * Rms(Slice(s, 0, 0.2)));
}

INSTANTIATE_TEST_SUITE_P(Sounds, FallingSound,
                         ::testing::Values(Glide{155, 2500, 900}, Glide{159, 2300, 600}));

TEST(CollisionSound, TwangsWithHarmonicsNotAPlainTone) {
    // A plain tone keeps its energy at its one frequency; a twang spreads it over harmonics.
    const Signal s = Samples(Sound(155), 0);
    for (double t : {0.1, 0.5, 1.0}) {
        const Signal w = Slice(s, t, 2048 / kRate);
        const double main = DominantHz(w, 300, 5000);
        double elsewhere = 0, all = 0;
        for (double hz = 300; hz <= 8000; hz += 10) {
            all += std::pow(Magnitude(w, hz), 2);
            elsewhere += std::abs(hz - main) > 60 ? std::pow(Magnitude(w, hz), 2) : 0;
        }
        EXPECT_GT(elsewhere, 0.3 * all) << "at " << t << " s";
    }
}

// ---- 156 to 158: the bells and the rest ----

TEST(MatchSound, LoudDingWithSteadyPartialsThatDecays) {
    const Signal s = Samples(Sound(156), 0);
    EXPECT_GT(Peak(s), 0.7);
    for (double t : {0.05, 0.4, 0.9}) {
        const Signal w = Slice(s, t, 2048 / kRate);
        const double low = DominantHz(w, 1500, 3000), high = DominantHz(w, 3000, 4500);
        EXPECT_NEAR(low, 2200, 60) << "at " << t << " s";
        EXPECT_NEAR(high, 3800, 80) << "at " << t << " s";
        Signal all;
        for (double hz = 300; hz <= 5000; hz += 50) {
            all.push_back(Magnitude(w, hz));
        }
        std::ranges::nth_element(all, all.begin() + all.size() / 2);
        EXPECT_GT(std::min(Magnitude(w, low), Magnitude(w, high)), 10 * all[all.size() / 2])
            << "partials stand out from the median, at " << t << " s";
    }
    for (double t = 0.2; t < 1.2; t += 0.2) {
        EXPECT_LT(Rms(Slice(s, t, 0.2)), Rms(Slice(s, t - 0.2, 0.2))) << "at " << t << " s";
    }
    EXPECT_LT(Rms(Slice(s, 1.0, 0.2)), 0.25 * Rms(Slice(s, 0, 0.2)));
}

TEST(RestSound, EverySampleSitsAtTheMidLevel) {
    const WaveImage wave = Sound(157);
    EXPECT_FALSE(wave.data.empty());
    EXPECT_TRUE(std::ranges::all_of(wave.data, [](auto b) { return b == 127 || b == 128; }));
}

TEST(GameOverBell, RingsOutInStereoWithChannelsThatDiffer) {
    const WaveImage wave = Sound(158);
    ASSERT_EQ(wave.channels, 2);
    const Signal left = Samples(wave, 0), right = Samples(wave, 1);
    Signal difference(left.size());
    std::ranges::transform(left, right, difference.begin(), std::minus<>());
    EXPECT_GT(Rms(difference), 0.1 * Rms(left));
    for (const Signal* s : {&left, &right}) {
        EXPECT_GT(Peak(Slice(*s, 0, 0.1)), 0.5);
        EXPECT_LT(Rms(Slice(*s, 1.0, 0.2)), 0.4 * Rms(Slice(*s, 0, 0.2)));
        EXPECT_GT(Rms(Slice(*s, 1.0, 0.2)), 0.01) << "a bell rings on; it is not damped";
    }
}

}  // namespace
}  // namespace tessaform
