// Sends Qt's queued Wayland requests at once, for the game that is about to hold the thread.
#pragma once

namespace tessaform {

// Qt's Wayland plugin sends what it committed only when its event loop is about
// to wait; a frame shown just before a hold would otherwise reach the compositor
// only when the hold ends. Does nothing on any other platform.
void SendQueuedFrames();

}  // namespace tessaform
