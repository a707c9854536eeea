// The arrangements of the four shapes and what each arrow makes of them.
#include "Arrangements.h"

#include <cassert>
#include <cstring>

namespace tessaform {

int ApplyArrow(int arrangement, int arrow) {
    const char* oldCode = kArrangementCodes[arrangement];
    char newCode[5] = {};
    for (int i = 0; i < 4; ++i) {
        newCode[i] = oldCode[kArrowSources[arrow][i]];
    }
    for (int k = 0; k < kArrangementCount; ++k) {
        if (std::strcmp(newCode, kArrangementCodes[k]) == 0) {
            return k;
        }
    }
    assert(!"the table holds every permutation");
    return arrangement;
}

}  // namespace tessaform
