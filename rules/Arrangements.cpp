#include "Arrangements.h"

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
    return arrangement;  // unreachable: the table holds every permutation
}

}  // namespace tessaform
