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

// SDL sets aside what a chunk's size claims before it reads: the RIFF size, which bounds
// every chunk, must lie within the bytes there are. And SDL also decodes compressed
// kinds into 16-bit samples, which would hide what the image held; the game's images
// open on their format chunk, tagged 1 for plain PCM.
bool IsWholePcmImage(std::span<const std::uint8_t> image) {
    if (image.size() < 22 || image.size() > INT_MAX) {
        return false;
    }
    const std::uint32_t riffSize =
        image[4] | image[5] << 8 | image[6] << 16 | static_cast<std::uint32_t>(image[7]) << 24;
    return riffSize <= image.size() - 8 && std::memcmp(image.data() + 12, "fmt ", 4) == 0 &&
           image[20] == 1 && image[21] == 0;
}

}  // namespace

std::optional<WaveImage> ParseWave(std::span<const std::uint8_t> image) {
    if (!IsWholePcmImage(image)) {
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
