#include "SoundLog.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "Checks.h"

namespace tessaform::e2e {

namespace {

// SDL turns 8-bit samples into 16 bits through floats; this absorbs its rounding.
constexpr int kTolerance = 600;
constexpr int kAnchorLength = 32;
constexpr int kAnchorCount = 8;
constexpr int kLoud = 2000;

std::uint32_t Le32(const QByteArray& b, qsizetype at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t Le16(const QByteArray& b, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                      static_cast<unsigned char>(b[at + 1]) << 8);
}

SoundTemplate ParseWave(int id, const QByteArray& file) {
    auto fail = [&](const std::string& why) {
        return Abort("sound " + std::to_string(id) + ": " + why);
    };
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE") {
        throw fail("no RIFF WAVE file");
    }
    int channels = 0;
    int bits = 0;
    std::uint32_t rate = 0;
    QByteArray data;
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const QByteArray id4 = file.mid(at, 4);
        const qsizetype size = Le32(file, at + 4);
        if (id4 == "fmt " && size >= 16) {
            channels = Le16(file, at + 10);
            rate = Le32(file, at + 12);
            bits = Le16(file, at + 22);
        } else if (id4 == "data") {
            data = file.mid(at + 8, size);
        }
        at += 8 + size + (size % 2);
    }
    if (rate != kSampleRate || channels < 1 || (bits != 8 && bits != 16) || data.isEmpty()) {
        throw fail("unexpected format");
    }
    SoundTemplate sound;
    sound.id = id;
    const int frameBytes = channels * bits / 8;
    for (qsizetype at = 0; at + frameBytes <= data.size(); at += frameBytes) {
        sound.samples.push_back(bits == 8 ? static_cast<std::int16_t>(
                                                (static_cast<unsigned char>(data[at]) - 128) * 256)
                                          : static_cast<std::int16_t>(Le16(data, at)));
    }
    return sound;
}

// Where to look for a sound: the loudest short stretch in each part of it.
std::vector<std::size_t> Anchors(const std::vector<std::int16_t>& t) {
    std::vector<std::size_t> anchors;
    if (t.size() < 2 * kAnchorLength) {
        return anchors;
    }
    const std::size_t part = t.size() / kAnchorCount;
    for (int p = 0; p < kAnchorCount; ++p) {
        long best = 0;
        std::size_t bestAt = 0;
        const std::size_t end = std::min(t.size() - kAnchorLength, (p + 1) * part);
        for (std::size_t a = p * part; a < end; ++a) {
            if (std::abs(t[a]) < kLoud) {
                continue;
            }
            long energy = 0;
            for (int i = 0; i < kAnchorLength; ++i) {
                energy += std::abs(t[a + i]);
            }
            if (energy > best) {
                best = energy;
                bestAt = a;
            }
        }
        if (best > 0) {
            anchors.push_back(bestAt);
        }
    }
    return anchors;
}

bool Near(std::int16_t a, std::int16_t b) {
    return std::abs(a - b) <= kTolerance;
}

}  // namespace

std::vector<SoundTemplate> LoadSoundTemplates(const QString& directory) {
    std::vector<SoundTemplate> sounds;
    for (int id = 154; id <= 159; ++id) {
        QFile file(directory + QString("/sound_%1.wav").arg(id));
        if (!file.open(QIODevice::ReadOnly)) {
            throw Abort("cannot read " + file.fileName().toStdString());
        }
        sounds.push_back(ParseWave(id, file.readAll()));
    }
    return sounds;
}

std::string Occurrence::Describe() const {
    char text[96];
    std::snprintf(text, sizeof text, "%d at %.2f s, %.2f s of %.2f s", id, Seconds(start),
                  Seconds(played), Seconds(length));
    return text;
}

SoundLog SoundLog::Analyse(const QString& recording, const std::vector<SoundTemplate>& sounds) {
    QFile file(recording);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Abort("no recording at " + recording.toStdString());
    }
    const QByteArray raw = file.readAll();
    SoundLog log;
    log.frames_ = raw.size() / 4;
    std::vector<std::int16_t> left(static_cast<std::size_t>(log.frames_));
    for (std::int64_t f = 0; f < log.frames_; ++f) {
        left[static_cast<std::size_t>(f)] = static_cast<std::int16_t>(Le16(raw, f * 4));
    }
    const auto n = static_cast<std::int64_t>(left.size());

    std::vector<Occurrence> candidates;
    for (const SoundTemplate& sound : sounds) {
        const auto& t = sound.samples;
        // Each start, with the end of the earliest loud stretch that placed it there.
        std::map<std::int64_t, std::int64_t> starts;
        for (std::size_t a : Anchors(t)) {
            for (std::int64_t p = 0; p + kAnchorLength <= n; ++p) {
                if (!Near(left[static_cast<std::size_t>(p)], t[a])) {
                    continue;
                }
                int i = 1;
                while (i < kAnchorLength && Near(left[static_cast<std::size_t>(p + i)], t[a + i])) {
                    ++i;
                }
                if (i == kAnchorLength && p >= static_cast<std::int64_t>(a)) {
                    const std::int64_t start = p - static_cast<std::int64_t>(a);
                    const auto anchorEnd = static_cast<std::int64_t>(a) + kAnchorLength;
                    auto [it, added] = starts.emplace(start, anchorEnd);
                    if (!added) {
                        it->second = std::min(it->second, anchorEnd);
                    }
                }
            }
        }
        for (const auto& [start, anchorEnd] : starts) {
            // Played up to where the recording stops repeating it.
            std::int64_t i = 0;
            const auto length = static_cast<std::int64_t>(t.size());
            while (i < length && start + i < n) {
                if (!Near(left[static_cast<std::size_t>(start + i)],
                          t[static_cast<std::size_t>(i)])) {
                    int misses = 0;
                    for (std::int64_t j = i; j < std::min({i + 16, length, n - start}); ++j) {
                        misses += Near(left[static_cast<std::size_t>(start + j)],
                                       t[static_cast<std::size_t>(j)])
                                      ? 0
                                      : 1;
                    }
                    if (misses >= 4) {
                        break;
                    }
                }
                ++i;
            }
            // Only a match that holds from the sound's first sample through a loud stretch
            // is the sound; a tone can repeat itself a period later, its start cannot.
            if (i >= anchorEnd) {
                candidates.push_back(Occurrence{sound.id, start, i, length});
            }
        }
    }
    // One sound at a time: a quiet tail may seem to go on into the next sound's quiet
    // start, so each occurrence ends where the next one begins.
    std::sort(candidates.begin(), candidates.end(),
              [](const Occurrence& a, const Occurrence& b) { return a.start < b.start; });
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        Occurrence c = candidates[i];
        if (i + 1 < candidates.size() && candidates[i + 1].start < c.End()) {
            c.played = candidates[i + 1].start - c.start;
        }
        if (c.played >= kAnchorLength) {
            log.occurrences_.push_back(c);
        }
    }
    std::sort(log.occurrences_.begin(), log.occurrences_.end(),
              [](const Occurrence& a, const Occurrence& b) { return a.start < b.start; });
    return log;
}

std::vector<Occurrence> SoundLog::Between(int id, std::int64_t from, std::int64_t to) const {
    std::vector<Occurrence> found;
    for (const Occurrence& o : occurrences_) {
        if (o.id == id && o.start >= from && o.start < to) {
            found.push_back(o);
        }
    }
    return found;
}

std::optional<Occurrence> SoundLog::FirstAfter(int id, std::int64_t from) const {
    for (const Occurrence& o : occurrences_) {
        if (o.id == id && o.start >= from) {
            return o;
        }
    }
    return std::nullopt;
}

std::optional<Occurrence> SoundLog::LastBefore(int id, std::int64_t to) const {
    std::optional<Occurrence> found;
    for (const Occurrence& o : occurrences_) {
        if (o.id == id && o.start < to) {
            found = o;
        }
    }
    return found;
}

std::string SoundLog::Timeline(std::int64_t from, std::int64_t to) const {
    std::string text;
    for (const Occurrence& o : occurrences_) {
        if (o.End() > from && o.start < to) {
            text += (text.empty() ? "" : "; ") + o.Describe();
        }
    }
    return text.empty() ? "no sound" : text;
}

}  // namespace tessaform::e2e
