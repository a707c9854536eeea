// Noise, a band-pass, fades and levels: what the generator's sounds are made of.
#pragma once

// Small building blocks for the synthesized sounds. Everything here is plain
// arithmetic, so the generator makes the same bytes on every run.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace tessaform::assetgen {

inline constexpr double kTwoPi = 2.0 * std::numbers::pi;

// xorshift32: tiny, and its sequence does not depend on the standard library.
class SoundRng {
public:
    explicit SoundRng(std::uint32_t seed) : state_(seed != 0 ? seed : 1) {}

    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }  // [0, 1)
    double Between(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    double Noise() { return Between(-1.0, 1.0); }

private:
    std::uint32_t state_;
};

// Two-pole band-pass with 0 dB at its centre; cheap enough to retune per use.
class SoundBandPass {
public:
    SoundBandPass(double centreHz, double q, double sampleRate) {
        const double w = kTwoPi * centreHz / sampleRate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0_ = alpha / a0;
        a1_ = -2.0 * std::cos(w) / a0;
        a2_ = (1.0 - alpha) / a0;
    }

    double Process(double x) {
        const double y = b0_ * (x - x2_) - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double b0_ = 0, a1_ = 0, a2_ = 0;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// 0 at 0, 1 at 1, with flat ends: fades that do not click.
inline double SoundSmoothStep(double u) {
    u = std::clamp(u, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(std::numbers::pi * u);
}

// Fades one channel of interleaved samples in and out over the given times.
inline void SoundFadeEdges(std::vector<double>& samples, int channels, double sampleRate,
                           double fadeInSeconds, double fadeOutSeconds) {
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < frames; ++i) {
        const double fromStart = static_cast<double>(i) / sampleRate;
        const double toEnd = static_cast<double>(frames - 1 - i) / sampleRate;
        const double gain =
            SoundSmoothStep(fromStart / fadeInSeconds) * SoundSmoothStep(toEnd / fadeOutSeconds);
        for (int c = 0; c < channels; ++c) {
            samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] *= gain;
        }
    }
}

// Scales so that the loudest sample reaches the given level and nothing clips.
inline void SoundNormalize(std::vector<double>& samples, double peak) {
    double loudest = 0;
    for (double s : samples) {
        loudest = std::max(loudest, std::abs(s));
    }
    if (loudest > 0) {
        for (double& s : samples) {
            s *= peak / loudest;
        }
    }
}

}  // namespace tessaform::assetgen
