// Little-endian numbers appended to a byte vector, as the generator's bitmaps and waves store them.
#pragma once

#include <cstdint>
#include <vector>

namespace tessaform::assetgen {

inline void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    // A range, not two push_backs: with push_back, GCC 12 at -O2 warns falsely
    // (-Wstringop-overflow) that MakeWaveFile's last insert, of the body after the RIFF
    // size, writes past a 4-byte buffer, which TESSAFORM_WERROR makes an error. The code it
    // compiles is right: the generator's output is byte for byte the same either way.
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(v & 0xFF),
                                   static_cast<std::uint8_t>((v >> 8) & 0xFF)};
    out.insert(out.end(), bytes, bytes + 2);
}

inline void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

}  // namespace tessaform::assetgen
