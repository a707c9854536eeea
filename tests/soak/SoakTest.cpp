#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "SoakWorld.h"

#ifndef TESSAFORM_SOAK_EVENTS_DEFAULT
#define TESSAFORM_SOAK_EVENTS_DEFAULT 1000000
#define TESSAFORM_SOAK_IMAGE_EVENTS_DEFAULT 40000
#endif

namespace tessaform::soak {
namespace {

// TESSAFORM_SOAK_SEED and TESSAFORM_SOAK_EVENTS replay or lengthen a run.
std::uint64_t Seed(std::uint64_t fallback) {
    const char* text = std::getenv("TESSAFORM_SOAK_SEED");
    return text != nullptr ? std::strtoull(text, nullptr, 10) : fallback;
}

long Events(const char* variable, long fallback) {
    const char* text = std::getenv(variable);
    return text != nullptr ? std::strtol(text, nullptr, 10) : fallback;
}

void Soak(const Options& options) {
    // Runs whose sound is absent go through the real player, with no device it can open.
    setenv("SDL_AUDIODRIVER", "tessaform-no-device", 1);
    std::printf("soak: seed %llu, %ld events, %s surface\n",
                static_cast<unsigned long long>(options.seed), options.events,
                options.realPixels ? "image" : "null");
    const Outcome out = Run(options);
    std::printf(
        "soak: %ld events in %ld runs of the program, %ld games ended, %ld new sets, %ld sound "
        "warnings, %ld no-timer boxes, %ld presses queued behind a held thread\n",
        out.events, out.sessions, out.games, out.sets, out.soundWarnings, out.noTimerBoxes,
        out.queuedPresses);
    ASSERT_FALSE(out.failure.has_value()) << *out.failure;
    EXPECT_GE(out.events, options.events) << "presses queued at the end run after the last event";
    EXPECT_GT(out.games, 0);
    EXPECT_GT(out.sets, 0);
}

TEST(Soak, HandlersKeepTheirInvariantsWithoutPixels) {
    Soak({Seed(20'240'601), Events("TESSAFORM_SOAK_EVENTS", TESSAFORM_SOAK_EVENTS_DEFAULT), false});
}

TEST(Soak, HandlersKeepTheirInvariantsOnTheImageSurface) {
    Soak({Seed(77'001), Events("TESSAFORM_SOAK_IMAGE_EVENTS", TESSAFORM_SOAK_IMAGE_EVENTS_DEFAULT),
          true});
}

}  // namespace
}  // namespace tessaform::soak
