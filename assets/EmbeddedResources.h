// The table the asset generator writes into the program: each resource's type, id and bytes.
#pragma once

#include <cstddef>

namespace tessaform {

// One resource as the asset generator wrote it into the program.
struct EmbeddedResource {
    const char* type;
    int id;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

}  // namespace tessaform
