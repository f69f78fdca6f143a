#pragma once

namespace vorelt {

// The windowing system: Qt's platform plugin (xcb, wayland, offscreen) and $WAYLAND_DISPLAY.
// The rooms ask it rather than the application.
class WindowingSystem {
public:
    // True when there is a display to show windows on.
    static bool hasDisplay();
    // True in a Wayland session (WAYLAND_DISPLAY is set), on XWayland too: the compositor then
    // decides where windows go and which has the focus, and X11 sees no clicks in Wayland
    // windows.
    static bool inWaylandSession();
};

}  // namespace vorelt
