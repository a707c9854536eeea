// Reads a wave image through SDL_LoadWAV_RW, strict enough that damage is refused, not played.
#include "Wave.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <climits>
#include <cstring>

namespace tessaform {

namespace {

// By default SDL plays what it can of a damaged image: a chunk cut short, sizes that
// disagree. The game's images are whole, so anything else is refused.
void MakeSdlStrict() {
    static const bool done = [] {
        SDL_SetHintWithPriority(SDL_HINT_WAVE_RIFF_CHUNK_SIZE, "force", SDL_HINT_OVERRIDE);
        SDL_SetHintWithPriority(SDL_HINT_WAVE_TRUNCATION, "verystrict", SDL_HINT_OVERRIDE);
        SDL_SetHintWithPriority(SDL_HINT_WAVE_FACT_CHUNK, "strict", SDL_HINT_OVERRIDE);
        return true;
    }();
    (void)done;
}

// SDL also decodes compressed kinds into 16-bit samples, which would hide what the image
// held. The game's images open on their format chunk, tagged 1 for plain PCM.
bool OpensOnPcmFormat(std::span<const std::uint8_t> image) {
    return image.size() >= 22 && std::memcmp(image.data() + 12, "fmt ", 4) == 0 && image[20] == 1 &&
           image[21] == 0;
}

}  // namespace

std::optional<WaveImage> ParseWave(std::span<const std::uint8_t> image) {
    if (!OpensOnPcmFormat(image) || image.size() > INT_MAX) {
        return std::nullopt;
    }
    MakeSdlStrict();
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    SDL_RWops* bytes = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()));
    if (bytes == nullptr || SDL_LoadWAV_RW(bytes, 1, &spec, &samples, &length) == nullptr) {
        return std::nullopt;
    }
    WaveImage wave;
    wave.channels = spec.channels;
    wave.sampleRate = spec.freq;
    wave.bitsPerSample = spec.format == AUDIO_U8 ? 8 : spec.format == AUDIO_S16LSB ? 16 : 0;
    wave.data.assign(samples, samples + length);
    SDL_FreeWAV(samples);
    const bool playable = (wave.channels == 1 || wave.channels == 2) && wave.bitsPerSample != 0 &&
                          wave.sampleRate >= 1000 && wave.sampleRate <= 192000 &&
                          !wave.data.empty() && wave.data.size() % wave.FrameBytes() == 0;
    if (!playable) {
        return std::nullopt;
    }
    return wave;
}

}  // namespace tessaform
