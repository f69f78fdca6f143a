#include "platform/x11/X11MouseWatcher.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <xcb/xcb.h>

#include <cstring>

#include "platform/x11/X11Desktop.h"

namespace vorelt {

namespace {

// The head of an XInput2 raw button event as it arrives on the wire.
struct RawButtonEvent {
    std::uint8_t responseType;
    std::uint8_t extension;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint16_t eventType;
    std::uint16_t deviceId;
    std::uint32_t time;
    std::uint32_t detail;
};

// The child of the root window that holds `window`: a window manager's frame, or the window.
Window topLevelOf(Display* dpy, Window window) {
    const Window root = DefaultRootWindow(dpy);
    for (;;) {
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(dpy, window, &rootReturn, &parent, &children, &count) == 0) {
            return None;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == None) {
            return window;
        }
        window = parent;
    }
}

// Whether a press goes to this program: it goes to the window on top at that point, `topLevel`,
// whatever lies beneath it. The empty part of the bar is not the popover's: a press there counts
// as outside.
bool pressGoesToOwnWindow(Display* dpy, Window topLevel, int rootX, int rootY) {
    if (topLevel == None) {
        return false;
    }
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        if (!window->isVisible() || window->handle() == nullptr) {
            continue;
        }
        const auto id = static_cast<Window>(window->winId());
        if (topLevelOf(dpy, id) != topLevel) {
            continue;
        }
        const auto* partly =
            dynamic_cast<const X11MouseWatcher::PartlyOwnWindow*>(QWidget::find(window->winId()));
        if (partly == nullptr) {
            return true;
        }
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(dpy, DefaultRootWindow(dpy), id, rootX, rootY, &x, &y, &child);
        const qreal scale = window->devicePixelRatio();
        return partly->takesPressAt(
            QPoint(static_cast<int>(x / scale), static_cast<int>(y / scale)));
    }
    return false;
}

}  // namespace

X11MouseWatcher* X11MouseWatcher::instance() {
    static X11MouseWatcher* watcher = [] {
        auto* candidate = new X11MouseWatcher;
        if (!candidate->initialise()) {
            delete candidate;
            return static_cast<X11MouseWatcher*>(nullptr);
        }
        return candidate;
    }();
    return watcher;
}

bool X11MouseWatcher::initialise() {
    Display* dpy = X11Desktop::display();
    if (dpy == nullptr) {
        return false;
    }
    int event = 0;
    int error = 0;
    if (!XQueryExtension(dpy, "XInputExtension", &opcode_, &event, &error)) {
        return false;
    }
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(dpy, &major, &minor) != Success || major < 2 || (major == 2 && minor < 2)) {
        return false;
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

void X11MouseWatcher::watch(Report report) {
    Display* dpy = X11Desktop::display();
    const bool watching = static_cast<bool>(report);
    const bool wasWatching = static_cast<bool>(report_);
    report_ = std::move(report);
    if (dpy == nullptr || watching == wasWatching) {
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (watching) {
        XISetMask(bits, XI_RawButtonPress);
    }
    XIEventMask mask;
    // Master devices only: a selection for all devices would replace the toolkit's own selection
    // on the root window, and every press would arrive twice.
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);
    XFlush(dpy);
}

bool X11MouseWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!report_ || eventType != "xcb_generic_event_t") {
        return false;
    }
    RawButtonEvent raw;
    std::memcpy(&raw, message, sizeof raw);
    if ((raw.responseType & 0x7f) != XCB_GE_GENERIC || raw.extension != opcode_ ||
        raw.eventType != XI_RawButtonPress) {
        return false;
    }
    Press press = Press::other;
    switch (raw.detail) {
        case Button1:
            press = Press::left;
            break;
        case Button3:
            press = Press::right;
            break;
        case Button4:
        case Button5:
        case 6:
        case 7:
            press = Press::scroll;
            break;
        default:
            break;
    }
    // Raw presses carry no position: ask where the pointer is now.
    Display* dpy = X11Desktop::display();
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int buttons = 0;
    XQueryPointer(dpy, DefaultRootWindow(dpy), &root, &child, &rootX, &rootY, &winX, &winY,
                  &buttons);
    if (!pressGoesToOwnWindow(dpy, child, rootX, rootY)) {
        // The report may stop the watching, and so end itself.
        const Report report = report_;
        report(press, Point{static_cast<double>(rootX), static_cast<double>(rootY)});
    }
    return true;
}

}  // namespace vorelt
