// The samples of a built-in sound, read from its RIFF WAVE image by SDL's loader.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessaform {

// A sound as the player takes it: its PCM format and its samples.
struct WaveImage {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<std::uint8_t> data;  // 8-bit unsigned or 16-bit signed little-endian samples

    int FrameBytes() const { return channels * bitsPerSample / 8; }
    double Seconds() const { return static_cast<double>(data.size()) / FrameBytes() / sampleRate; }
};

// Uncompressed PCM, 8 or 16 bits, one or two channels, as the game's own images are;
// nothing for any other kind of image, nor for one that is cut short or damaged.
std::optional<WaveImage> ParseWave(std::span<const std::uint8_t> image);

}  // namespace tessaform
