// Sample encoding and the RIFF WAVE writer the generator's sounds are packed with.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Bytes.h"

namespace tessaform::assetgen {

struct WaveFormat {
    int channels = 1;
    int sampleRate = 22050;
    int bitsPerSample = 8;

    int FrameBytes() const { return channels * bitsPerSample / 8; }
};

// What a sound editor shows about the sound; an empty name leaves the file without it.
struct WaveInfo {
    std::string name;
    std::string comment;
};

// Samples in -1..1, channels interleaved. 8-bit PCM is unsigned around 128.
inline std::vector<std::uint8_t> EncodePcm(std::span<const double> samples, int bitsPerSample) {
    std::vector<std::uint8_t> out;
    out.reserve(samples.size() * static_cast<std::size_t>(bitsPerSample / 8));
    for (double s : samples) {
        const double x = std::clamp(s, -1.0, 1.0);
        if (bitsPerSample == 8) {
            out.push_back(static_cast<std::uint8_t>(128 + std::lround(x * 127.0)));
        } else {
            const auto v =
                static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(x * 32767.0)));
            out.push_back(static_cast<std::uint8_t>(v & 0xFF));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    return out;
}

namespace wavefile_detail {

inline void PutTag(std::vector<std::uint8_t>& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.begin() + 4);
}

// Every chunk starts on an even offset, so odd bodies get one zero byte after them.
inline void PutChunk(std::vector<std::uint8_t>& out, std::string_view tag,
                     std::span<const std::uint8_t> body) {
    PutTag(out, tag);
    PutLe32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        out.push_back(0);
    }
}

inline std::vector<std::uint8_t> ZeroTerminated(std::string_view text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

}  // namespace wavefile_detail

inline std::vector<std::uint8_t> MakeWaveFile(const WaveFormat& format,
                                              std::span<const std::uint8_t> data,
                                              const WaveInfo& info) {
    using namespace wavefile_detail;
    const auto frameBytes = static_cast<std::uint32_t>(format.FrameBytes());

    std::vector<std::uint8_t> fmt;
    PutLe16(fmt, 1);  // PCM
    PutLe16(fmt, static_cast<std::uint32_t>(format.channels));
    PutLe32(fmt, static_cast<std::uint32_t>(format.sampleRate));
    PutLe32(fmt, static_cast<std::uint32_t>(format.sampleRate) * frameBytes);
    PutLe16(fmt, frameBytes);
    PutLe16(fmt, static_cast<std::uint32_t>(format.bitsPerSample));

    std::vector<std::uint8_t> fact;
    PutLe32(fact, static_cast<std::uint32_t>(data.size() / frameBytes));

    std::vector<std::uint8_t> body;
    PutTag(body, "WAVE");
    PutChunk(body, "fmt ", fmt);
    PutChunk(body, "fact", fact);
    PutChunk(body, "data", data);
    if (!info.name.empty()) {
        std::vector<std::uint8_t> list;
        PutTag(list, "INFO");
        PutChunk(list, "INAM", ZeroTerminated(info.name));
        PutChunk(list, "ICMT", ZeroTerminated(info.comment));
        PutChunk(list, "ISFT", ZeroTerminated("Tessaform asset generator"));
        PutChunk(body, "LIST", list);

        // The title that a file browser of the old kind shows: clipboard text format 1.
        std::vector<std::uint8_t> disp;
        PutLe32(disp, 1);
        const auto title = ZeroTerminated(info.name);
        disp.insert(disp.end(), title.begin(), title.end());
        PutChunk(body, "DISP", disp);
    }

    std::vector<std::uint8_t> file;
    PutTag(file, "RIFF");
    PutLe32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

}  // namespace tessaform::assetgen
