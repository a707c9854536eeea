#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tessaform {

// The playable part of a RIFF WAVE image: its PCM format and its samples.
struct WaveImage {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::span<const std::uint8_t> data;  // points into the image it was parsed from

    int FrameBytes() const { return channels * bitsPerSample / 8; }
    double Seconds() const { return static_cast<double>(data.size()) / FrameBytes() / sampleRate; }
};

// Uncompressed PCM, 8 or 16 bits, one or two channels; nothing for anything else
// or anything damaged. Chunks other than "fmt " and "data" are skipped.
std::optional<WaveImage> ParseWave(std::span<const std::uint8_t> image);

}  // namespace tessaform
