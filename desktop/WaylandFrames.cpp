// Sends Qt's queued Wayland requests at once, for the game that is about to hold the thread.
#include "WaylandFrames.h"

#include <QGuiApplication>

#if defined(TESSAFORM_HAVE_WAYLAND)
#include <wayland-client.h>

#include <qpa/qplatformnativeinterface.h>
#endif

namespace tessaform {

void SendQueuedFrames() {
#if defined(TESSAFORM_HAVE_WAYLAND)
    if (!QGuiApplication::platformName().startsWith("wayland")) {
        return;
    }
    // The connection that Qt's Wayland plugin opened, under the name it gives it.
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display =
        native != nullptr
            ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"))
            : nullptr;
    if (display != nullptr) {
        // A full socket keeps the rest for the event loop, as without this call.
        wl_display_flush(display);
    }
#endif
}

}  // namespace tessaform
