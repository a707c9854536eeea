#pragma once

#include <string>
#include <vector>

#include "DeviceContext.h"

namespace tessaform {

struct ResolvedFont;

// What a context draws with.
struct DrawState {
    Rgb pen = kBlack;
    Rgb brush = kWhite;
    Rgb textColor = kBlack;
    Rgb background = kWhite;
    bool transparent = false;
    const ResolvedFont* font = nullptr;
    bool operator==(const DrawState&) const = default;
};

// A fill, a rectangle or a text as it was asked for. Each sets the pixels it covers
// from these alone, whatever they held.
struct DrawCall {
    enum class Kind { kFill, kRectangle, kText };
    Kind kind;
    Rect rect;
    DrawState state;
    Rgb fill;
    unsigned flags = 0;
    std::string text;
    bool operator==(const DrawCall&) const = default;
};

// The calls of the last context that drew on a surface, while nothing else has drawn
// there since. Calls that set pixels from their arguments alone, made again over their
// own result, change nothing; so a context that repeats them need not draw at all: the
// clock draws the same box twenty times a second.
//
// A context holds its calls back while they repeat the last ones, and draws those it
// held after all once a call differs or it closes short of the whole list.
class RepeatFilter {
public:
    class Holder {
    public:
        // Draws what was held back; the context draws for itself from then on.
        virtual void Release() = 0;

    protected:
        ~Holder() = default;
    };

    // A context opens. True when it may hold back calls that repeat Last(): only a
    // context open alone on the surface may.
    bool Open(Holder& context);
    // The context has drawn what it held back.
    void Released(Holder& context);
    // The context closes after making `calls`, only of the kinds above unless
    // `describable` is false.
    void Close(Holder& context, std::vector<DrawCall>& calls, bool describable);
    // The image is new: nothing drawn on it can be repeated.
    void Forget();

    const std::vector<DrawCall>& Last() const { return last_; }

private:
    std::vector<DrawCall> last_;
    bool valid_ = false;
    int open_ = 0;
    bool crowded_ = false;  // another context opened while one was open
    Holder* holding_ = nullptr;
};

}  // namespace tessaform
