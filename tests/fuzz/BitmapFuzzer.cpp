// Any bytes at all go to the bitmap decoder, which the block pictures and the icons go
// through: it refuses them, or gives a picture within the size limit that holds every
// pixel it claims, each one opaque since the screen copies them as they are.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto picture = tessaform::DecodeBitmap(std::span<const std::uint8_t>(data, size));
    if (picture &&
        (picture->width <= 0 || picture->height <= 0 || picture->width > 4096 ||
         picture->height > 4096 ||
         picture->pixels.size() != std::size_t(picture->width) * picture->height ||
         !std::ranges::all_of(picture->pixels, [](auto p) { return p >> 24 == 0xff; }))) {
        std::abort();
    }
    return 0;
}
