// Prints, with the wall-clock time of arrival, every top-level window that is mapped and every
// change of a window's name on an X display, one line each:
//   <seconds since 1970> map <window> <name>
//   <seconds since 1970> name <window> <name>
// Usage: vorelt_bench_xwatch [seconds]   (runs until killed without a limit)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

double now() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string nameOf(Display* display, Window window) {
    static const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    static const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        std::string name(reinterpret_cast<char*>(data), count);
        XFree(data);
        return name;
    }
    char* plain = nullptr;
    if (XFetchName(display, window, &plain) != 0 && plain != nullptr) {
        std::string name(plain);
        XFree(plain);
        return name;
    }
    return {};
}

int ignoreErrors(Display*, XErrorEvent*) {
    return 0;  // windows come and go while they are watched
}

}  // namespace

int main(int argc, char** argv) {
    const double limit = argc > 1 ? std::atof(argv[1]) : 0.0;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("xwatch: no display\n", stderr);
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const double end = limit > 0 ? now() + limit : 0.0;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    while (end == 0.0 || now() < end) {
        if (XPending(display) == 0) {
            poll(&fd, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        const double at = now();
        if (event.type == CreateNotify) {
            XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
        } else if (event.type == MapNotify) {
            const Window w = event.xmap.window;
            std::printf("%.6f map 0x%lx %s\n", at, w, nameOf(display, w).c_str());
        } else if (event.type == PropertyNotify &&
                   (event.xproperty.atom == netName || event.xproperty.atom == XA_WM_NAME) &&
                   event.xproperty.state == PropertyNewValue) {
            const Window w = event.xproperty.window;
            // Both names change together; report the UTF-8 one only, when the window has it.
            if (event.xproperty.atom == XA_WM_NAME) {
                continue;
            }
            std::printf("%.6f name 0x%lx %s\n", at, w, nameOf(display, w).c_str());
        }
    }
    XCloseDisplay(display);
    return 0;
}
