// The six sounds of the game, synthesized from scratch.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "GeneratedResource.h"
#include "SoundSynth.h"
#include "WaveFile.h"

namespace tessaform::assetgen {

namespace {

constexpr double kRate = 22050;

double TimeOf(std::size_t frame) {
    return static_cast<double>(frame) / kRate;
}

std::size_t FrameAt(double seconds) {
    return static_cast<std::size_t>(seconds * kRate);
}

// ---- 154: a deal, three riffles of a deck of cards ----

struct Riffle {
    double start;
    double end;
    double loudness;
};

// One card springing off the thumb: a click of band-limited noise, a few ms long.
void AddCardFlick(std::vector<double>& out, double at, double gain, SoundRng& rng) {
    SoundBandPass tone(rng.Between(1500, 6000), rng.Between(0.7, 1.5), kRate);
    const double attack = rng.Between(0.0003, 0.0008);
    const double decay = rng.Between(0.0015, 0.005);
    const std::size_t first = FrameAt(at);
    const std::size_t count = FrameAt(attack + 7 * decay);
    for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
        const double t = TimeOf(i);
        const double envelope =
            t < attack ? SoundSmoothStep(t / attack) : std::exp(-(t - attack) / decay);
        const double noise = rng.Noise();
        // The raw part keeps the click's edge; the filtered part is the card's rattle.
        out[first + i] += gain * envelope * (2.5 * tone.Process(noise) + 0.25 * noise);
    }
}

std::vector<double> DealSound(std::size_t frames) {
    std::vector<double> out(frames, 0.0);
    SoundRng rng(0x5EED0154u);
    const Riffle riffles[] = {{0.62, 1.20, 0.55}, {1.94, 2.50, 0.62}, {3.46, 3.84, 1.0}};
    for (const Riffle& r : riffles) {
        const double length = r.end - r.start;
        // Cards sliding over each other: a faint hiss under the flicks.
        SoundBandPass hiss(3500, 0.6, kRate);
        for (std::size_t i = FrameAt(r.start); i < FrameAt(r.end); ++i) {
            const double u = (TimeOf(i) - r.start) / length;
            const double edges =
                SoundSmoothStep(u * length / 0.015) * SoundSmoothStep((1 - u) * length / 0.015);
            out[i] += 0.12 * r.loudness * edges * std::sin(std::numbers::pi * u) *
                      hiss.Process(rng.Noise());
        }
        // The flicks come quickest and loudest in the middle of a riffle.
        double t = r.start + rng.Between(0.0, 0.008);
        while (t < r.end - 0.025) {
            const double u = (t - r.start) / length;
            const double swell = std::sin(std::numbers::pi * u);
            AddCardFlick(out, t, r.loudness * (0.3 + 0.7 * swell) * rng.Between(0.6, 1.0), rng);
            const double perSecond = 16 + 20 * swell;
            t += rng.Between(0.7, 1.3) / perSecond;
        }
    }
    SoundNormalize(out, 0.92);
    return out;
}

// ---- 155: a collision, the boing of a jew's harp ----

std::vector<double> CollisionSound(std::size_t frames) {
    std::vector<double> out(frames, 0.0);
    double phase = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = TimeOf(i);
        // The reed springs back sharp and settles; the player's mouth sweeps the resonance
        // down, which is what the ear follows as the falling "boing".
        const double wobble = std::sin(kTwoPi * 6.5 * t) * std::exp(-t / 0.45);
        const double reedHz = (118 + 45 * std::exp(-t / 0.06)) * (1 + 0.012 * wobble);
        const double mouthHz =
            850 * std::pow(2500.0 / 850.0, std::exp(-t / 0.5)) * (1 + 0.1 * wobble);
        const double width = 0.08 * mouthHz;
        phase += kTwoPi * reedHz / kRate;

        double sum = 0;
        for (int k = 1; k * reedHz < 10500; ++k) {
            const double hz = k * reedHz;
            const double reed = 1 / std::pow(k, 0.6);  // a buzzy, pulse-like reed
            const double throat = hz * hz / (hz * hz + 350 * 350);
            const double offset = (hz - mouthHz) / width;
            const double mouth = 0.3 + 3.0 / (1 + offset * offset);
            const double nyquistTaper = 1 - SoundSmoothStep((hz - 9000) / 1500);
            sum += reed * throat * mouth * nyquistTaper * std::sin(k * phase);
        }
        const double twang = std::exp(-t / 0.6) * (1 + 0.35 * wobble);
        out[i] = sum * twang;
    }
    SoundFadeEdges(out, 1, kRate, 0.003, 0.04);
    SoundNormalize(out, 0.9);
    return out;
}

// ---- 156 and 158: struck bells ----

struct BellPartial {
    double hz;
    double gain;
    double decaySeconds;
};

// A hammer on metal: a short crack of bright noise.
void AddStrike(std::vector<double>& out, int channels, int channel, double gain, double seconds,
               SoundRng& rng) {
    SoundBandPass crack(5500, 0.8, kRate);
    const std::size_t count = FrameAt(seconds * 6);
    const std::size_t frames = out.size() / static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < count && i < frames; ++i) {
        out[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)] +=
            gain * std::exp(-TimeOf(i) / seconds) * crack.Process(rng.Noise());
    }
}

void AddPartial(std::vector<double>& out, int channels, int channel, const BellPartial& p,
                double startPhase) {
    const std::size_t frames = out.size() / static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = TimeOf(i);
        out[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)] +=
            p.gain * std::exp(-t / p.decaySeconds) * std::sin(kTwoPi * p.hz * t + startPhase);
    }
}

std::vector<double> MatchSound(std::size_t frames) {
    std::vector<double> out(frames, 0.0);
    SoundRng rng(0x5EED0156u);
    // Two ringing partials, each a slightly split pair as in a real cast bell, which gives
    // the slow shimmer; the high ones die within the first few tenths of a second.
    const BellPartial partials[] = {
        {2200, 1.0, 0.55},  {2203.2, 0.22, 0.5}, {3800, 0.6, 0.4},  {3805.5, 0.14, 0.35},
        {5470, 0.18, 0.06}, {7130, 0.1, 0.035},  {1105, 0.05, 0.3},
    };
    for (const BellPartial& p : partials) {
        AddPartial(out, 1, 0, p, rng.Between(0, kTwoPi));
    }
    AddStrike(out, 1, 0, 0.5, 0.002, rng);
    SoundFadeEdges(out, 1, kRate, 0.0015, 0.03);
    SoundNormalize(out, 0.92);
    return out;
}

std::vector<double> GameOverSound(std::size_t frames) {
    std::vector<double> out(frames * 2, 0.0);
    SoundRng rng(0x5EED0158u);
    // The modes of a thick brass dome: far from harmonic, which makes it clang.
    const BellPartial partials[] = {
        {742, 0.55, 0.8},  {1795, 0.8, 0.65},  {2483, 0.5, 0.5},
        {3131, 0.9, 0.45}, {4022, 0.45, 0.35}, {4873, 0.5, 0.3},
        {5934, 0.3, 0.22}, {6891, 0.25, 0.16}, {8207, 0.15, 0.1},
    };
    // Each ear hears every mode a shade detuned, louder or softer and later or earlier than
    // the other ear, as from two sides of a real bell: the channels start alike and their
    // beats drift apart while the bell rings.
    for (const BellPartial& p : partials) {
        for (double split : {-1.0, 1.0}) {
            const double hz = p.hz * (1 + split * rng.Between(0.0004, 0.0016));
            const double phase = rng.Between(0, kTwoPi);
            for (int channel = 0; channel < 2; ++channel) {
                const BellPartial half{hz * (1 + rng.Between(-0.00015, 0.00015)),
                                       0.5 * p.gain * rng.Between(0.8, 1.2), p.decaySeconds};
                AddPartial(out, 2, channel, half, phase + rng.Between(-0.15, 0.15));
            }
        }
    }
    // One hammer, heard alike by both ears.
    const SoundRng hammer = rng;
    for (int channel = 0; channel < 2; ++channel) {
        SoundRng crack = hammer;
        AddStrike(out, 2, channel, 1.2, 0.003, crack);
    }
    SoundFadeEdges(out, 2, kRate, 0.001, 0.08);
    SoundNormalize(out, 0.88);
    return out;
}

// ---- 157: the rest before a deal ----

std::vector<double> RestSound(std::size_t frames) {
    return std::vector<double>(frames, 0.0);
}

// ---- 159: a lost block, a falling tone ----

std::vector<double> LossSound(std::size_t frames) {
    std::vector<double> out(frames, 0.0);
    const double length = TimeOf(frames);
    double phase = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = TimeOf(i);
        // Evenly down in musical steps: just over two octaves in the sound's length.
        const double hz = 2300 * std::pow(600.0 / 2300.0, t / length);
        phase += kTwoPi * hz / kRate;
        const double tone = std::sin(phase) + 0.12 * std::sin(2 * phase + 0.3);
        out[i] = tone * std::exp(-t / 0.45);
    }
    SoundFadeEdges(out, 1, kRate, 0.008, 0.06);
    SoundNormalize(out, 0.85);
    return out;
}

// ---- packing ----

GeneratedResource Pack(int id, const WaveFormat& format, std::size_t dataBytes,
                       std::vector<double> (*synthesize)(std::size_t), const WaveInfo& info) {
    const std::size_t frames = dataBytes / static_cast<std::size_t>(format.FrameBytes());
    const std::vector<double> samples = synthesize(frames);
    const std::vector<std::uint8_t> data = EncodePcm(samples, format.bitsPerSample);
    return {"SOUND", id, MakeWaveFile(format, data, info)};
}

}  // namespace

std::vector<GeneratedResource> MakeSounds() {
    const WaveFormat mono8{1, 22050, 8};
    const WaveFormat mono16{1, 22050, 16};
    const WaveFormat stereo16{2, 22050, 16};
    return {
        Pack(154, mono8, 93541, DealSound, {}),
        Pack(155, mono8, 27565, CollisionSound,
             {"Boing", "Two blocks collide: a jew's harp twang falling in pitch."}),
        Pack(156, mono8, 27565, MatchSound,
             {"Ding", "A block matches the master: one strike of a small bell."}),
        Pack(157, mono8, 8820, RestSound, {}),
        Pack(158, stereo16, 110048, GameOverSound,
             {"Bell", "The game is over: one ring of the boxing bell."}),
        Pack(159, mono16, 57316, LossSound,
             {"Fall", "A block is lost: a tone gliding down and dying away."}),
    };
}

}  // namespace tessaform::assetgen
