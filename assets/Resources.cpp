// Finds a built-in resource by type and id in the table the asset generator wrote.
#include "Resources.h"

#include <algorithm>
#include <cctype>

#include "EmbeddedResources.h"

namespace tessaform {

namespace {

bool SameTypeName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::toupper(x) == std::toupper(y);
    });
}

}  // namespace

std::span<const std::uint8_t> FindResource(std::string_view type, int id) {
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& r = kEmbeddedResources[i];
        if (r.id == id && SameTypeName(r.type, type)) {
            return {reinterpret_cast<const std::uint8_t*>(r.data), r.size};
        }
    }
    return {};
}

}  // namespace tessaform
