#pragma once

#include <cstdint>

class QString;
struct _XDisplay;

namespace vorelt {

// The few X11 window properties that Qt has no interface for.
class X11Desktop {
public:
    // The application's connection to its X11 display, or none on any other windowing system.
    static _XDisplay* display();
    // True when the application runs on an X11 display.
    static bool available();
    // Reserves a strip along the top of the screen for a dock window (_NET_WM_STRUT_PARTIAL), so
    // that maximised windows leave it free.
    static void reserveTopStrip(std::uintptr_t window, int height, int startX, int endX);
    // False when a window manager runs that does not keep docks' strips (it leaves
    // _NET_WM_STRUT_PARTIAL out of _NET_SUPPORTED): a dock there is an ordinary window wherever
    // the manager puts it. True without a window manager, where windows stay where they are put.
    static bool windowManagerKeepsDockStrips();
    // Whether a dock window along the top keeps its place and strip here: not under a window
    // manager that ignores docks' strips, nor on Wayland.
    static bool docksKeepTheirStrip();
    // Keeps a window that is not yet shown out of taskbars and pagers.
    static void skipTaskbarAndPager(std::uintptr_t window);
    // Stops telling this program about changes of its own window's properties. Every new title
    // is a property change, and the note of it would wake the program twice for nothing; other
    // programs that watch the window are still told.
    static void ignorePropertyChanges(std::uintptr_t window);
    // Names a window for window lists, scripts and screen readers (_NET_WM_NAME, and WM_NAME for
    // older readers) in two requests that wait for nothing; they go at the next flush().
    static void setWindowName(std::uintptr_t window, const QString& name);
    static void flush();
};

}  // namespace vorelt
