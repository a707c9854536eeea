// Playback of the built-in sounds over SDL, holding a stream on the sound server only while one
// plays.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Ports.h"

namespace tessaform {

// Plays the built-in sounds from memory over SDL's audio subsystem, one at a time.
// The device opens for a sound and, given a way to run something later, closes again
// soon after the last sound has played, so a silent game costs the sound server nothing.
// A sound that finds no device is skipped; the next sound tries again, so sound comes back
// with its server. An opening that the server does not answer holds a sound about 2 s, once.
class SoundPlayer : public SoundPort {
public:
    using Log = std::function<void(const std::string&)>;
    // Runs `call` once, about `ms` milliseconds on, on the thread that plays the sounds.
    using Later = std::function<void(int ms, std::function<void()> call)>;
    // Without `later` the device stays open from the first sound on.
    explicit SoundPlayer(MessageBoxPort& messages, Log log = {}, Later later = {});
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    void PlaySoundSync(int id) override;
    void PlaySoundAsync(int id) override;

private:
    struct Converted {
        std::vector<std::uint8_t> samples;  // in the device's format
        double seconds = 0;
    };

    struct Opening;  // on a thread of its own, as SDL may wait for a server for ever
    bool OpenDevice();
    void CloseDevice(const char* how = "closed");
    // Closes the device `ms` from now unless another sound has started by then.
    void CloseLater(int ms);
    const Converted* Prepare(int id);
    // Replaces whatever is playing; false when the sound cannot start.
    bool Start(int id, const Converted& sound);

    MessageBoxPort& messages_;
    Log log_;
    Later later_;
    int playing_ = 0;      // the id last started, while the device may still play it
    int starts_ = 0;       // sounds started so far: a pending close belongs to the last one
    bool warned_ = false;  // once a run: the program has one player
    bool subsystemUp_ = false;
    bool keepOpen_ = false;
    std::uint32_t device_ = 0;
    std::shared_ptr<Opening> opening_;  // the last, which a sound may have given up on
    std::map<int, Converted> converted_;
};

}  // namespace tessaform
