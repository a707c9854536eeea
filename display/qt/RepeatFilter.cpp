#include "RepeatFilter.h"

#include <utility>

namespace tessaform {

bool RepeatFilter::Open(Holder& context) {
    // A context opened inside another draws over what that one has done so far.
    if (holding_ != nullptr) {
        holding_->Release();
    }
    crowded_ = crowded_ || ++open_ > 1;
    if (valid_ && open_ == 1) {
        holding_ = &context;
    }
    return holding_ == &context;
}

void RepeatFilter::Released(Holder& context) {
    if (holding_ == &context) {
        holding_ = nullptr;
    }
}

void RepeatFilter::Close(Holder& context, std::vector<DrawCall>& calls, bool describable) {
    Released(context);
    if (!describable || crowded_) {
        // It drew what a call list cannot tell, or another drew while it was open.
        valid_ = false;
    } else if (!calls.empty()) {
        last_.swap(calls);
        valid_ = true;
    }
    crowded_ = --open_ > 0 && crowded_;
}

void RepeatFilter::Forget() {
    if (holding_ != nullptr) {
        holding_->Release();
    }
    valid_ = false;
}

}  // namespace tessaform
