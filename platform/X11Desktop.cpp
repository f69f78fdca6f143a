#include "platform/X11Desktop.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace vorelt {

Display* X11Desktop::display() {
    auto* x11 = qGuiApp == nullptr ? nullptr
                                   : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 == nullptr ? nullptr : x11->display();
}

bool X11Desktop::available() {
    return display() != nullptr;
}

void X11Desktop::reserveTopStrip(std::uintptr_t window, int height, int startX, int endX) {
    Display* dpy = display();
    if (dpy == nullptr) {
        return;
    }
    // left, right, top, bottom, then the start and end of each: see the EWMH.
    long partial[12] = {0, 0, height, 0, 0, 0, 0, 0, startX, endX, 0, 0};
    const Window w = static_cast<Window>(window);
    XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(partial), 12);
    XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_STRUT", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(partial), 4);
    XFlush(dpy);
}

}  // namespace vorelt
