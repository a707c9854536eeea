// Any bytes at all go to the wave parser, which every sound goes through before
// playback: it must either refuse them or hand back whole frames that lie
// inside the bytes it was given, in a format the player can convert.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "Wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> image(data, size);
    const auto wave = tessaform::ParseWave(image);
    if (!wave) {
        return 0;
    }
    const std::uint8_t* begin = wave->data.data();
    const bool inside =
        wave->data.empty() || (begin >= data && begin + wave->data.size() <= data + size);
    if (!inside || wave->FrameBytes() <= 0 || wave->data.size() % wave->FrameBytes() != 0 ||
        !std::isfinite(wave->Seconds()) || wave->Seconds() < 0) {
        std::abort();
    }
    // Touch every sample, as the converter will.
    unsigned sum = 0;
    for (const std::uint8_t byte : wave->data) {
        sum += byte;
    }
    return static_cast<int>(sum & 0);
}
