// Any bytes at all go to the wave reader, which every sound goes through before
// playback: it must either refuse them or hand back whole frames of a format the
// player converts, no more samples than plain PCM in those bytes could hold.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "Wave.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto wave = tessaform::ParseWave(std::span<const std::uint8_t>(data, size));
    if (wave && !((wave->channels == 1 || wave->channels == 2) &&
                  (wave->bitsPerSample == 8 || wave->bitsPerSample == 16) && !wave->data.empty() &&
                  wave->data.size() <= size && wave->data.size() % wave->FrameBytes() == 0 &&
                  std::isfinite(wave->Seconds()))) {
        std::abort();
    }
    return 0;
}
