#include "Checks.h"

#include <iostream>

namespace tessaform::e2e {

void Checks::Group(const std::string& name) {
    group_ = name;
    std::cout << "\n== " << name << "\n" << std::flush;
}

bool Checks::Expect(bool ok, const std::string& what, const std::string& detail) {
    if (ok) {
        ++passed_;
        std::cout << "  ok    " << what << "\n";
    } else {
        ++failed_;
        std::cout << "  FAIL  " << what << (detail.empty() ? "" : ": " + detail) << "\n";
    }
    std::cout << std::flush;
    return ok;
}

}  // namespace tessaform::e2e
