// The main window's frames on Wayland: Qt's queued requests sent at once, and the window's own
// decoration asked for.
#pragma once

class QWindow;

namespace tessaform {

// Qt's Wayland plugin sends what it committed only when its event loop is about
// to wait; a frame shown just before a hold would otherwise reach the compositor
// only when the hold ends. Does nothing on any other platform.
void SendQueuedFrames();

// Asks the compositor, where it offers xdg-decoration, to leave the shown window's frame to
// the window, so that no title bar or border of the compositor's stands around it.
void AskForOwnDecoration(QWindow* window);

}  // namespace tessaform
