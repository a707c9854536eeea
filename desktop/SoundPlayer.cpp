// Playback of the built-in sounds: one device format, opened per sound, closed when silent.
#include "SoundPlayer.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "Resources.h"
#include "Wave.h"

namespace tessaform {

namespace {

// Every sound is converted to this once, so one device format serves them all.
constexpr int kDeviceRate = 22050;
constexpr SDL_AudioFormat kDeviceFormat = AUDIO_S16SYS;
constexpr int kDeviceChannels = 2;
constexpr int kDeviceFrameBytes = 4;
// SDL starts a new device paused, and its thread may send a buffer of silence before the
// sound is queued: about 12 ms at this size, still short enough for a sound to start at
// once. SDL also waits two of these for the device to drain as it closes.
constexpr Uint16 kDeviceFrames = 256;

// A device that stops draining must not hang the game.
constexpr auto kDrainGrace = std::chrono::seconds(2);
// How long the device stays open after a sound's end, for the next one to follow.
constexpr int kLingerMs = 500;

}  // namespace

SoundPlayer::SoundPlayer(MessageBoxPort& messages, Log log, Later later)
    : messages_(messages), log_(std::move(log)), later_(std::move(later)) {}

void SoundPlayer::Say(const std::string& line) const {
    if (log_) {
        log_(line);
    }
}

SoundPlayer::~SoundPlayer() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
    }
    if (subsystemUp_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool SoundPlayer::OpenDevice() {
    // A device whose server went away stays stopped: this sound needs a new one.
    if (device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) {
        CloseDevice("lost");
    }
    if (device_ != 0) {
        return true;
    }
    if (!subsystemUp_) {
        SDL_SetMainReady();
        // SDL would otherwise take SIGINT and SIGTERM for its own event queue, which the
        // game never reads: a logout or `kill` must end the program as usual.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        subsystemUp_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        const char* driver = subsystemUp_ ? SDL_GetCurrentAudioDriver() : nullptr;
        // The disk driver starts its file anew at each opening: one file per run.
        keepOpen_ = driver != nullptr && std::strcmp(driver, "disk") == 0;
        if (driver != nullptr) {
            Say(std::string("driver ") + driver);
        }
    }
    SDL_AudioSpec want{};
    want.freq = kDeviceRate;
    want.format = kDeviceFormat;
    want.channels = kDeviceChannels;
    want.samples = kDeviceFrames;
    device_ = subsystemUp_ ? SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0) : 0;
    if (device_ == 0) {
        // Nothing of a failure is kept: the next sound chooses a driver afresh, and finds a
        // server that has come (back) since.
        if (subsystemUp_) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            subsystemUp_ = false;
        }
        Say("no device");
        return false;
    }
    Say("stream open");
    return true;
}

void SoundPlayer::CloseDevice(const char* how) {
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    playing_ = 0;
    Say(std::string("stream ") + how);
}

void SoundPlayer::CloseLater(int ms) {
    if (!later_ || keepOpen_) {
        return;
    }
    later_(ms, [this, starts = starts_] {
        if (starts == starts_ && device_ != 0) {
            CloseDevice();
        }
    });
}

const SoundPlayer::Converted* SoundPlayer::Prepare(int id) {
    if (auto found = converted_.find(id); found != converted_.end()) {
        return &found->second;
    }
    const std::optional<WaveImage> wave = ParseWave(FindResource(kSoundType, id));
    if (!wave) {
        return nullptr;
    }
    SDL_AudioStream* stream = SDL_NewAudioStream(
        wave->bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB, static_cast<Uint8>(wave->channels),
        wave->sampleRate, kDeviceFormat, kDeviceChannels, kDeviceRate);
    if (stream == nullptr) {
        return nullptr;
    }
    Converted sound;
    if (SDL_AudioStreamPut(stream, wave->data.data(), static_cast<int>(wave->data.size())) == 0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        sound.samples.resize(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
        const int got = SDL_AudioStreamGet(stream, sound.samples.data(),
                                           static_cast<int>(sound.samples.size()));
        sound.samples.resize(static_cast<std::size_t>(std::max(got, 0)));
    }
    SDL_FreeAudioStream(stream);
    sound.samples.resize(sound.samples.size() - sound.samples.size() % kDeviceFrameBytes);
    if (sound.samples.empty()) {
        return nullptr;
    }
    sound.seconds = wave->Seconds();
    return &converted_.emplace(id, std::move(sound)).first->second;
}

bool SoundPlayer::Start(int id, const Converted& sound) {
    if (playing_ != 0 && SDL_GetQueuedAudioSize(device_) > 0) {
        Say("cut " + std::to_string(playing_));
    }
    SDL_ClearQueuedAudio(device_);
    playing_ = id;
    ++starts_;
    if (SDL_QueueAudio(device_, sound.samples.data(), static_cast<Uint32>(sound.samples.size())) !=
        0) {
        return false;
    }
    // A device opened just now starts here, with the sound already queued: had it
    // started empty, it would first send a buffer of silence.
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SoundPlayer::PlaySoundSync(int id) {
    const Converted* sound = Prepare(id);
    if (sound == nullptr || !OpenDevice() || !Start(id, *sound)) {
        return;
    }
    Say("start " + std::to_string(id) + " sync");
    // Wait for the full length even where a driver drains its queue faster than real time.
    using Clock = std::chrono::steady_clock;
    const auto ends = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(sound->seconds));
    std::this_thread::sleep_until(ends);
    while (SDL_GetQueuedAudioSize(device_) > 0 && Clock::now() < ends + kDrainGrace) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    playing_ = 0;
    Say("end " + std::to_string(id));
    // A queue that stopped draining belongs to a server that went away unnoticed (SDL's
    // pipewire driver does not tell): the next sound must look for the server again.
    if (SDL_GetQueuedAudioSize(device_) > 0) {
        CloseDevice("lost");
        return;
    }
    CloseLater(kLingerMs);
}

void SoundPlayer::PlaySoundAsync(int id) {
    const Converted* sound = Prepare(id);
    const bool started = sound != nullptr && OpenDevice() && Start(id, *sound);
    if (started) {
        Say("start " + std::to_string(id) + " async");
        CloseLater(static_cast<int>(sound->seconds * 1000) + kLingerMs);
    }
    if (!started && !warned_) {
        // Marked before the box opens: its loop goes on running the game, whose next
        // failing sound must not stack a second warning on the first.
        warned_ = true;
        Say("warning");
        messages_.ShowMessage(kSoundWarning, "Tessaform", MessageIcon::kExclamation);
    }
}

}  // namespace tessaform
