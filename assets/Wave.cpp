#include "Wave.h"

#include <cstring>

namespace tessaform {

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

bool IsTag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

}  // namespace

std::optional<WaveImage> ParseWave(std::span<const std::uint8_t> image) {
    if (image.size() < 12 || !IsTag(image.data(), "RIFF") || !IsTag(image.data() + 8, "WAVE")) {
        return std::nullopt;
    }
    // Trust the RIFF size only as far as the image really reaches.
    std::size_t end = std::size_t{Le32(image.data() + 4)} + 8;
    if (end > image.size()) {
        end = image.size();
    }

    WaveImage wave;
    bool haveFormat = false;
    bool haveData = false;
    std::size_t at = 12;
    while (at + 8 <= end && !(haveFormat && haveData)) {
        const std::uint8_t* chunk = image.data() + at;
        const std::size_t size = Le32(chunk + 4);
        const std::size_t body = at + 8;
        if (size > end - body) {
            return std::nullopt;
        }
        if (IsTag(chunk, "fmt ")) {
            if (size < 16 || Le16(chunk + 8) != 1) {
                return std::nullopt;
            }
            wave.channels = Le16(chunk + 10);
            wave.sampleRate = static_cast<int>(Le32(chunk + 12));
            wave.bitsPerSample = Le16(chunk + 22);
            haveFormat = true;
        } else if (IsTag(chunk, "data")) {
            wave.data = image.subspan(body, size);
            haveData = true;
        }
        at = body + size + (size & 1);  // chunks are padded to even length
    }
    if (!haveFormat || !haveData) {
        return std::nullopt;
    }
    const bool formatOk = (wave.channels == 1 || wave.channels == 2) &&
                          (wave.bitsPerSample == 8 || wave.bitsPerSample == 16) &&
                          wave.sampleRate >= 1000 && wave.sampleRate <= 192000;
    if (!formatOk) {
        return std::nullopt;
    }
    // Drop a trailing partial frame rather than hand the player half a sample.
    wave.data = wave.data.first(wave.data.size() - wave.data.size() % wave.FrameBytes());
    return wave;
}

}  // namespace tessaform
