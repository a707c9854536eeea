// Any bytes at all go to the bitmap decoder, which the block pictures and the
// icons go through: it must either refuse them or give a picture whose pixels
// it has every one of.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto picture = tessaform::DecodeBitmap(std::span<const std::uint8_t>(data, size));
    if (!picture) {
        return 0;
    }
    if (picture->width <= 0 || picture->height <= 0 || picture->width > 4096 ||
        picture->height > 4096 ||
        picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height) {
        std::abort();
    }
    // Every pixel is opaque: the screen copies them as they are.
    for (const std::uint32_t pixel : picture->pixels) {
        if ((pixel & 0xff000000u) != 0xff000000u) {
            std::abort();
        }
    }
    return 0;
}
