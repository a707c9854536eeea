// The main window's frames on Wayland: Qt's queued requests sent at once, and the window's own
// decoration asked for.
#include "WaylandFrames.h"

#include <QGuiApplication>
#include <QWindow>

#include "Log.h"

#if defined(TESSAFORM_HAVE_WAYLAND)
#include <wayland-client.h>

#include <qpa/qplatformnativeinterface.h>

#include "xdg-decoration-unstable-v1-client-protocol.h"
#endif

namespace tessaform {

#if defined(TESSAFORM_HAVE_WAYLAND)
namespace {

// The connection that Qt's Wayland plugin opened, under the name it gives it; none elsewhere.
wl_display* QtDisplay() {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!QGuiApplication::platformName().startsWith("wayland") || native == nullptr) {
        return nullptr;
    }
    return static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
}

void FindDecorationManager(void* manager, wl_registry* registry, std::uint32_t name,
                           const char* interface, std::uint32_t) {
    if (std::string_view(interface) == zxdg_decoration_manager_v1_interface.name) {
        *static_cast<zxdg_decoration_manager_v1**>(manager) =
            static_cast<zxdg_decoration_manager_v1*>(
                wl_registry_bind(registry, name, &zxdg_decoration_manager_v1_interface, 1));
    }
}

void IgnoreRemoval(void*, wl_registry*, std::uint32_t) {}

void NoteMode(void* mode, zxdg_toplevel_decoration_v1*, std::uint32_t answer) {
    if (mode != nullptr) {
        *static_cast<std::uint32_t*>(mode) = answer;
    }
}

}  // namespace
#endif

void SendQueuedFrames() {
#if defined(TESSAFORM_HAVE_WAYLAND)
    if (wl_display* display = QtDisplay()) {
        // A full socket keeps the rest for the event loop, as without this call.
        wl_display_flush(display);
    }
#endif
}

void AskForOwnDecoration(QWindow* window) {
#if defined(TESSAFORM_HAVE_WAYLAND)
    wl_display* display = QtDisplay();
    auto* toplevel = display == nullptr
                         ? nullptr
                         : QGuiApplication::platformNativeInterface()->nativeResourceForWindow(
                               "xdg_toplevel", window);
    if (toplevel == nullptr) {
        return;
    }
    // A queue of our own, so that the round trip runs none of Qt's handlers.
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* wrapped = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapped), queue);
    wl_registry* registry = wl_display_get_registry(wrapped);
    zxdg_decoration_manager_v1* manager = nullptr;
    bool own = true;  // where no decoration can be asked for, xdg-shell leaves it to the window
    static const wl_registry_listener kListener = {FindDecorationManager, IgnoreRemoval};
    wl_registry_add_listener(registry, &kListener, &manager);
    wl_display_roundtrip_queue(display, queue);
    if (manager != nullptr) {
        // Qt asks for no decoration for a frameless window, which leaves the compositor to
        // draw its own; the window draws its caption itself.
        zxdg_toplevel_decoration_v1* decoration =
            zxdg_decoration_manager_v1_get_toplevel_decoration(
                manager, static_cast<xdg_toplevel*>(toplevel));
        // The compositor answers with the mode it takes: sway keeps its own on a tiled window.
        std::uint32_t mode = 0;
        static const zxdg_toplevel_decoration_v1_listener kModeListener = {NoteMode};
        zxdg_toplevel_decoration_v1_add_listener(decoration, &kModeListener, &mode);
        zxdg_toplevel_decoration_v1_set_mode(decoration,
                                             ZXDG_TOPLEVEL_DECORATION_V1_MODE_CLIENT_SIDE);
        zxdg_decoration_manager_v1_destroy(manager);
        wl_display_roundtrip_queue(display, queue);
        zxdg_toplevel_decoration_v1_set_user_data(decoration, nullptr);
        own = mode != ZXDG_TOPLEVEL_DECORATION_V1_MODE_SERVER_SIDE;
    }
    qCInfo(lcWindow) << (own ? "frame: own" : "frame: the compositor's");
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(wrapped);
    // The queue and the decoration stay for the life of the window: the decoration's later
    // answers wait in the queue unread.
#else
    (void)window;
#endif
}

}  // namespace tessaform
