#include "SoundPlayer.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <chrono>
#include <thread>

#include "Resources.h"
#include "Wave.h"

namespace tessaform {

int soundWarningShown = 0;

namespace {

// Every sound is converted to this once, so one device format serves them all.
constexpr int kDeviceRate = 22050;
constexpr SDL_AudioFormat kDeviceFormat = AUDIO_S16SYS;
constexpr int kDeviceChannels = 2;
constexpr int kDeviceFrameBytes = 4;

// A device that stops draining must not hang the game.
constexpr auto kDrainGrace = std::chrono::seconds(2);

}  // namespace

SoundPlayer::SoundPlayer(MessageBoxPort& messages, Log log)
    : messages_(messages), log_(std::move(log)) {}

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
    if (triedToOpen_) {
        return device_ != 0;
    }
    triedToOpen_ = true;
    SDL_SetMainReady();
    // SDL would otherwise take SIGINT and SIGTERM for its own event queue, which the
    // game never reads: a logout or `kill` must end the program as usual.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        Say("no device");
        return false;
    }
    subsystemUp_ = true;
    SDL_AudioSpec want{};
    want.freq = kDeviceRate;
    want.format = kDeviceFormat;
    want.channels = kDeviceChannels;
    want.samples = 1024;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        Say("no device");
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    Say("stream open");
    return true;
}

const SoundPlayer::Converted* SoundPlayer::Prepare(int id) {
    if (auto found = converted_.find(id); found != converted_.end()) {
        return &found->second;
    }
    const std::optional<WaveImage> wave = ParseWave(FindResource(kSoundType, id));
    if (!wave) {
        return nullptr;
    }
    SDL_AudioCVT cvt;
    const SDL_AudioFormat from = wave->bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(wave->channels), wave->sampleRate,
                          kDeviceFormat, kDeviceChannels, kDeviceRate) < 0) {
        return nullptr;
    }
    Converted sound;
    sound.samples.resize(wave->data.size() * static_cast<std::size_t>(cvt.len_mult));
    std::copy(wave->data.begin(), wave->data.end(), sound.samples.begin());
    cvt.buf = sound.samples.data();
    cvt.len = static_cast<int>(wave->data.size());
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        return nullptr;
    }
    sound.samples.resize(cvt.needed ? static_cast<std::size_t>(cvt.len_cvt) : wave->data.size());
    sound.seconds = wave->Seconds();
    return &converted_.emplace(id, std::move(sound)).first->second;
}

bool SoundPlayer::Start(int id, const Converted& sound) {
    if (playing_ != 0 && SDL_GetQueuedAudioSize(device_) > 0) {
        Say("cut " + std::to_string(playing_));
    }
    SDL_ClearQueuedAudio(device_);
    playing_ = id;
    const auto bytes =
        static_cast<Uint32>(sound.samples.size() - sound.samples.size() % kDeviceFrameBytes);
    return SDL_QueueAudio(device_, sound.samples.data(), bytes) == 0;
}

void SoundPlayer::PlaySoundSync(int id) {
    const Converted* sound = Prepare(id);
    if (sound == nullptr || !OpenDevice() || !Start(id, *sound)) {
        return;
    }
    Say("start " + std::to_string(id) + " sync");
    // Wait for the full length even where a driver drains its queue faster than real time.
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    const auto length =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(sound->seconds));
    const auto giveUp = started + length + kDrainGrace;
    while (Clock::now() < started + length ||
           (SDL_GetQueuedAudioSize(device_) > 0 && Clock::now() < giveUp)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    playing_ = 0;
    Say("end " + std::to_string(id));
}

void SoundPlayer::PlaySoundAsync(int id) {
    const Converted* sound = Prepare(id);
    const bool started = sound != nullptr && OpenDevice() && Start(id, *sound);
    if (started) {
        Say("start " + std::to_string(id) + " async");
    }
    if (!started && soundWarningShown == 0) {
        // Marked before the box opens: its loop goes on running the game, whose next
        // failing sound must not stack a second warning on the first.
        soundWarningShown = 1;
        messages_.ShowMessage(kSoundWarning, "Tessaform", MessageIcon::kExclamation);
    }
}

}  // namespace tessaform
