// What the view holds across sets: the 24 pictures go at a new set and come back
// with its first repaint. That nothing outlives the view is LeakSanitizer's to
// check, at the exit of every test of the sanitized build.
#include <gtest/gtest.h>

#include <vector>

#include "ViewHarness.h"

namespace tessaform::testing {
namespace {

TEST(Lifetime, PicturesAreReleasedAtANewSetAndLoadedAgainByItsFirstRepaint) {
    ViewHarness h;
    std::vector<bool> loadedAtTitle;
    // The title is set first thing in every repaint: it sees the pictures as the repaint finds
    // them.
    h.view = std::make_unique<GameView>(
        ViewPorts{h.surface, h.timers, h.clock, h.sound, h.messages, h.random,
                  [&](const std::string&) { loadedAtTitle.push_back(h.view->PicturesLoaded()); }},
        DissolvePacing{0, {}});
    h.Repaint();
    ASSERT_EQ(loadedAtTitle, (std::vector<bool>{false}));
    EXPECT_TRUE(h.view->PicturesLoaded());

    for (int game = 0; game < kSetLength; ++game) {
        h.clock.now = h.State().gameStartTime + 105;
        h.Tick(kClockTimer);
        h.clock.now += 1;
        h.Tick(kRestTimer);
    }
    EXPECT_TRUE(h.view->PicturesLoaded()) << "kept from game to game";
    loadedAtTitle.clear();
    h.Press(h.State().anotherSetRect.left, h.State().anotherSetRect.top);
    ASSERT_FALSE(loadedAtTitle.empty());
    EXPECT_FALSE(loadedAtTitle.front()) << "released before the new set's repaint";
    EXPECT_TRUE(h.view->PicturesLoaded()) << "loaded again by it";
}

}  // namespace
}  // namespace tessaform::testing
