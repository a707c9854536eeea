#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaform::e2e {

inline constexpr int kSampleRate = 22'050;

// One of the game's sounds as the recording would hold it: the left channel in 16 bits.
struct SoundTemplate {
    int id = 0;
    std::vector<std::int16_t> samples;
};

// The six raw wave files the build writes; throws Abort when one is missing or malformed.
std::vector<SoundTemplate> LoadSoundTemplates(const QString& directory);

// A stretch of the recording that repeats a sound sample for sample.
struct Occurrence {
    int id = 0;
    std::int64_t start = 0;   // frame of the recording where the sound's first sample lies
    std::int64_t played = 0;  // frames of it that were played before something else
    std::int64_t length = 0;  // frames of the whole sound

    std::int64_t End() const { return start + played; }
    bool Complete() const { return played >= length; }
    std::string Describe() const;
};

// What SDL's disk driver wrote: 16-bit stereo at 22,050 Hz, the device format the game opens.
class SoundLog {
public:
    static SoundLog Analyse(const QString& recording, const std::vector<SoundTemplate>& sounds);

    std::int64_t Frames() const { return frames_; }
    const std::vector<Occurrence>& All() const { return occurrences_; }
    // Occurrences of one sound that start in [from, to).
    std::vector<Occurrence> Between(int id, std::int64_t from, std::int64_t to) const;
    std::optional<Occurrence> FirstAfter(int id, std::int64_t from) const;
    std::optional<Occurrence> LastBefore(int id, std::int64_t to) const;
    std::string Timeline(std::int64_t from, std::int64_t to) const;

private:
    std::int64_t frames_ = 0;
    std::vector<Occurrence> occurrences_;
};

inline double Seconds(std::int64_t frames) {
    return static_cast<double>(frames) / kSampleRate;
}

}  // namespace tessaform::e2e
