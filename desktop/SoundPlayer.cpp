// Playback of the built-in sounds: one device format, opened per sound, closed when silent.
#include "SoundPlayer.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

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
// SDL 2.26's pipewire and pulseaudio drivers wait for their server without a bound, as SDL's
// audio starts and as a device opens. A working server takes under 0.1 s for both with both
// cores busy; this is far past that, and half the deal sound's own wait.
constexpr auto kOpeningBound = std::chrono::seconds(2);

}  // namespace

// The thread owns SDL's audio subsystem until `done`. SDL 2.26 holds its device lock through a
// driver's opening: until a stuck one ends, no other can start, nor may the subsystem quit. A
// sound that stops waiting leaves the opening abandoned, and the thread closes what it opens.
struct SoundPlayer::Opening {
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<bool> done = false;
    bool abandoned = false;
    bool up = false;     // the subsystem
    std::string driver;  // the one chosen, if the subsystem came up here
    SDL_AudioDeviceID device = 0;
    std::shared_ptr<Opening> self;  // the thread's hold, taken as it starts

    void Run() {
        if (!up) {
            SDL_SetMainReady();
            // SDL would otherwise take SIGINT and SIGTERM for its own event queue, which the
            // game never reads: a logout or `kill` must end the program as usual.
            SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
            up = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
            driver = up ? SDL_GetCurrentAudioDriver() : "";
        }
        SDL_AudioSpec want{};
        want.freq = kDeviceRate;
        want.format = kDeviceFormat;
        want.channels = kDeviceChannels;
        want.samples = kDeviceFrames;
        device = up ? SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0) : 0;
        const std::lock_guard lock(mutex);
        // Nothing of a failure is kept: the next sound chooses a driver afresh, and finds a
        // server that has come (back) since.
        if (device == 0 || abandoned) {
            SDL_CloseAudioDevice(std::exchange(device, 0));  // of none: nothing happens
            if (std::exchange(up, false)) {
                SDL_QuitSubSystem(SDL_INIT_AUDIO);
            }
        }
        done = true;
        finished.notify_one();
    }
};

SoundPlayer::SoundPlayer(MessageBoxPort& messages, Log log, Later later)
    : messages_(messages),
      log_(log ? std::move(log) : Log([](const std::string&) {})),
      later_(std::move(later)) {}

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
    if (opening_ && !opening_->done) {  // given up on by an earlier sound
        log_("still no answer");
        return false;
    }
    opening_ = std::make_shared<Opening>();
    opening_->up = std::exchange(subsystemUp_, false);
    opening_->self = opening_;
    // An SDL thread: SDL keeps an error text per thread and frees it at the end of its own only.
    SDL_DetachThread(SDL_CreateThread(
        [](void* opening) {
            std::exchange(static_cast<Opening*>(opening)->self, nullptr)->Run();
            return 0;
        },
        "SoundOpening", opening_.get()));
    std::unique_lock lock(opening_->mutex);
    if (!opening_->finished.wait_for(lock, kOpeningBound,
                                     [this] { return opening_->done.load(); })) {
        opening_->abandoned = true;
        log_("no answer");
        return false;
    }
    subsystemUp_ = opening_->up;
    device_ = opening_->device;
    if (!opening_->driver.empty()) {
        // The disk driver starts its file anew at each opening: one file per run.
        keepOpen_ = opening_->driver == "disk";
        log_("driver " + opening_->driver);
    }
    if (device_ == 0) {
        log_("no device");
        return false;
    }
    log_("stream open");
    return true;
}

void SoundPlayer::CloseDevice(const char* how) {
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    playing_ = 0;
    log_(std::string("stream ") + how);
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
        log_("cut " + std::to_string(playing_));
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
    log_("start " + std::to_string(id) + " sync");
    // Wait for the full length even where a driver drains its queue faster than real time.
    using Clock = std::chrono::steady_clock;
    const auto ends = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                         std::chrono::duration<double>(sound->seconds));
    std::this_thread::sleep_until(ends);
    while (SDL_GetQueuedAudioSize(device_) > 0 && Clock::now() < ends + kDrainGrace) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    playing_ = 0;
    log_("end " + std::to_string(id));
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
        log_("start " + std::to_string(id) + " async");
        CloseLater(static_cast<int>(sound->seconds * 1000) + kLingerMs);
    }
    if (!started && !warned_) {
        // Marked before the box opens: its loop goes on running the game, whose next
        // failing sound must not stack a second warning on the first.
        warned_ = true;
        log_("warning");
        messages_.ShowMessage(kSoundWarning, "Tessaform", MessageIcon::kExclamation);
    }
}

}  // namespace tessaform
