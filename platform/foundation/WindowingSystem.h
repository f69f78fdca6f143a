#pragma once

namespace vorelt {

// What the windowing system the toolkit runs on is: the rooms ask it rather than the application.
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
