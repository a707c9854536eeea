#include "RepeatFilter.h"

#include <utility>

namespace tessaform {

bool RepeatFilter::Open(Holder& context) {
    // A context opened inside another draws over what that one has done so far.
    if (holding_ != nullptr) {
        holding_->Release();
    }
    ++open_;
    ++opened_;
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

void RepeatFilter::Close(Holder& context, std::vector<DrawCall>& calls, bool describable,
                         std::size_t opened) {
    Released(context);
    --open_;
    if (!describable || opened != opened_ || open_ > 0) {
        // Something else drew while it was open, or it drew what a call list cannot tell.
        valid_ = false;
    } else if (!calls.empty()) {
        last_.swap(calls);
        valid_ = true;
    }
}

void RepeatFilter::Forget() {
    if (holding_ != nullptr) {
        holding_->Release();
    }
    valid_ = false;
}

}  // namespace tessaform
