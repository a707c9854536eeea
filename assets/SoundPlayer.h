#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Ports.h"

namespace tessaform {

// Set once the player has been told that sound does not work; lives as long as the process.
extern int soundWarningShown;

inline constexpr const char* kSoundWarning =
    "Cannot play sound.\nThis game works much better with a sound card.";

// Plays the built-in sounds from memory over SDL's audio subsystem, one at a time.
// The device is opened at the first sound; if that fails, sound stays off for the run.
class SoundPlayer : public SoundPort {
public:
    using Log = std::function<void(const std::string&)>;
    explicit SoundPlayer(MessageBoxPort& messages, Log log = {});
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

    bool OpenDevice();
    const Converted* Prepare(int id);
    // Replaces whatever is playing; false when the sound cannot start.
    bool Start(int id, const Converted& sound);
    void Say(const std::string& line) const;

    MessageBoxPort& messages_;
    Log log_;
    int playing_ = 0;  // the id last started, while the device may still play it
    bool triedToOpen_ = false;
    bool subsystemUp_ = false;
    std::uint32_t device_ = 0;
    std::map<int, Converted> converted_;
};

}  // namespace tessaform
