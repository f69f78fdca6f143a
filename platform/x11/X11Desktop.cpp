#include "platform/x11/X11Desktop.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <vector>

namespace vorelt {

Display* X11Desktop::display() {
    // The toolkit finds its native interface by searching type names: asked once per
    // application, not at every title change.
    static const QGuiApplication* asked = nullptr;
    static Display* known = nullptr;
    if (qGuiApp != asked) {
        asked = qGuiApp;
        auto* x11 = qGuiApp == nullptr
                        ? nullptr
                        : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        known = x11 == nullptr ? nullptr : x11->display();
    }
    return known;
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

bool X11Desktop::docksKeepTheirStrip() {
    const QString platform = QGuiApplication::platformName();
    if (platform == "wayland") {
        return false;
    }
    return platform != "xcb" || windowManagerKeepsDockStrips();
}

bool X11Desktop::windowManagerKeepsDockStrips() {
    Display* dpy = display();
    if (dpy == nullptr) {
        return false;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long rest = 0;
    unsigned char* data = nullptr;
    const Atom supported = XInternAtom(dpy, "_NET_SUPPORTED", False);
    if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), supported, 0, 4096, False, XA_ATOM, &type,
                           &format, &count, &rest, &data) != Success ||
        data == nullptr) {
        return true;
    }
    const std::vector<Atom> atoms(reinterpret_cast<Atom*>(data),
                                  reinterpret_cast<Atom*>(data) + count);
    XFree(data);
    if (type != XA_ATOM || atoms.empty()) {
        return true;
    }
    const Atom strut = XInternAtom(dpy, "_NET_WM_STRUT_PARTIAL", False);
    return std::find(atoms.begin(), atoms.end(), strut) != atoms.end();
}

void X11Desktop::skipTaskbarAndPager(std::uintptr_t window) {
    Display* dpy = display();
    if (dpy == nullptr) {
        return;
    }
    // Qt keeps states it does not know of when it adds its own at mapping.
    Atom states[2] = {XInternAtom(dpy, "_NET_WM_STATE_SKIP_TASKBAR", False),
                      XInternAtom(dpy, "_NET_WM_STATE_SKIP_PAGER", False)};
    XChangeProperty(dpy, static_cast<Window>(window), XInternAtom(dpy, "_NET_WM_STATE", False),
                    XA_ATOM, 32, PropModeReplace, reinterpret_cast<unsigned char*>(states), 2);
    XFlush(dpy);
}

void X11Desktop::ignorePropertyChanges(std::uintptr_t window) {
    Display* dpy = display();
    XWindowAttributes attributes;
    if (dpy == nullptr ||
        XGetWindowAttributes(dpy, static_cast<Window>(window), &attributes) == 0) {
        return;
    }
    XSelectInput(dpy, static_cast<Window>(window),
                 attributes.your_event_mask & ~PropertyChangeMask);
    XFlush(dpy);
}

void X11Desktop::setWindowName(std::uintptr_t window, const QString& name) {
    Display* dpy = display();
    if (dpy == nullptr) {
        return;
    }
    static const Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    const Window w = static_cast<Window>(window);
    QByteArray text = name.toUtf8();
    XChangeProperty(dpy, w, netName, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.constData()),
                    static_cast<int>(text.size()));
    // WM_NAME holds Latin-1 as it is and anything else as compound text.
    if (std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x100; })) {
        const QByteArray latin1 = name.toLatin1();
        XChangeProperty(dpy, w, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(latin1.constData()),
                        static_cast<int>(latin1.size()));
        return;
    }
    char* list = text.data();
    XTextProperty property;
    if (Xutf8TextListToTextProperty(dpy, &list, 1, XStdICCTextStyle, &property) >= Success) {
        XSetWMName(dpy, w, &property);
        XFree(property.value);
    }
}

void X11Desktop::flush() {
    if (Display* dpy = display()) {
        XFlush(dpy);
    }
}

}  // namespace vorelt
