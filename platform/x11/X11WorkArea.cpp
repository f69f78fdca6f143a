#include "platform/x11/X11WorkArea.h"

#include <QCoreApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/x11/X11Desktop.h"

namespace vorelt {

namespace {

// A dock's strip changing, and the dock shown, hidden or gone, which no manager's list of
// windows tells without a manager.
constexpr long kDockEvents = PropertyChangeMask | StructureNotifyMask;

struct Atoms {
    explicit Atoms(Display* dpy)
        : workArea(XInternAtom(dpy, "_NET_WORKAREA", False)),
          currentDesktop(XInternAtom(dpy, "_NET_CURRENT_DESKTOP", False)),
          clientList(XInternAtom(dpy, "_NET_CLIENT_LIST", False)),
          managerCheck(XInternAtom(dpy, "_NET_SUPPORTING_WM_CHECK", False)),
          strut(XInternAtom(dpy, "_NET_WM_STRUT", False)),
          strutPartial(XInternAtom(dpy, "_NET_WM_STRUT_PARTIAL", False)),
          windowType(XInternAtom(dpy, "_NET_WM_WINDOW_TYPE", False)),
          dock(XInternAtom(dpy, "_NET_WM_WINDOW_TYPE_DOCK", False)),
          wmState(XInternAtom(dpy, "WM_STATE", False)) {}
    Atom workArea, currentDesktop, clientList, managerCheck, strut, strutPartial, windowType, dock,
        wmState;
};

const Atoms& atoms(Display* dpy) {
    static const Atoms known(dpy);
    return known;
}

// The 32-bit values of a window's property, at most `count`; none when the window or the
// property is missing (the toolkit's error handler keeps a vanished window quiet), and then
// `gone` tells which.
std::vector<unsigned long> values(Display* dpy, Window window, Atom property, long count,
                                  bool* gone = nullptr) {
    Atom type = None;
    int format = 0;
    unsigned long length = 0;
    unsigned long rest = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(dpy, window, property, 0, count, False, AnyPropertyType,
                                         &type, &format, &length, &rest, &data) == Success;
    if (gone != nullptr) {
        *gone = !read;
    }
    if (!read || data == nullptr) {
        return {};
    }
    std::vector<unsigned long> result;
    if (format == 32) {
        // Xlib hands 32-bit values over as longs.
        const auto* longs = reinterpret_cast<const unsigned long*>(data);
        result.assign(longs, longs + length);
    }
    XFree(data);
    return result;
}

int pixels(unsigned long value) {
    return static_cast<int>(std::min<unsigned long>(value, INT_MAX));
}

bool shown(Display* dpy, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(dpy, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

// Adds `add` to this program's selection of events on another program's window, or takes it away.
void select(Display* dpy, Window window, long add, bool on) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(dpy, window, &attributes) != 0) {
        XSelectInput(dpy, window,
                     on ? attributes.your_event_mask | add : attributes.your_event_mask & ~add);
    }
}

}  // namespace

X11WorkArea::X11WorkArea(std::uintptr_t ownWindow, std::function<void()> changed)
    : ownWindow_(ownWindow), changed_(std::move(changed)) {
    Display* dpy = X11Desktop::display();
    if (dpy == nullptr) {
        return;
    }
    root_ = DefaultRootWindow(dpy);
    select(dpy, root_, PropertyChangeMask, true);
    XFlush(dpy);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11WorkArea::~X11WorkArea() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

unsigned long X11WorkArea::runningWindowManager() {
    // A manager names a window of its own on the root, which names itself again; one that went
    // (killed, or its display's session ended) leaves a name behind that names nothing.
    Display* dpy = X11Desktop::display();
    const auto check = values(dpy, root_, atoms(dpy).managerCheck, 1);
    if (check.empty() || check.front() == None) {
        return 0;
    }
    const auto self = values(dpy, check.front(), atoms(dpy).managerCheck, 1);
    return !self.empty() && self.front() == check.front() ? check.front() : 0;
}

WorkAreaTop::Desktop X11WorkArea::read() {
    WorkAreaTop::Desktop desktop;
    Display* dpy = X11Desktop::display();
    if (dpy == nullptr) {
        return desktop;
    }
    const Atoms& atom = atoms(dpy);
    desktop.windowManager = runningWindowManager();
    if (desktop.windowManager != windowManager_) {
        // The manager's window goes with the manager: its end is the one sign of it.
        windowManager_ = desktop.windowManager;
        if (windowManager_ != 0) {
            select(dpy, windowManager_, StructureNotifyMask, true);
        }
    }
    // Without a manager its list of windows is stale as well: the windows on the root count, once
    // shown.
    std::vector<unsigned long> clients;
    if (desktop.windowManager != 0) {
        const auto current = values(dpy, root_, atom.currentDesktop, 1);
        const long index = current.empty() ? 0 : static_cast<long>(std::min(current[0], 255ul));
        const auto area = values(dpy, root_, atom.workArea, 4 * (index + 1));
        if (area.size() >= static_cast<std::size_t>(4 * (index + 1))) {
            desktop.workAreaTop = pixels(area[4 * index + 1]);
        } else if (area.size() >= 4) {
            desktop.workAreaTop = pixels(area[1]);
        }
        clients = values(dpy, root_, atom.clientList, 4096);
    }
    const bool managersList = !clients.empty();
    if (!managersList) {
        Window rootReturn = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(dpy, root_, &rootReturn, &parent, &children, &count) != 0 &&
            children != nullptr) {
            clients.assign(children, children + count);
            XFree(children);
        }
    }
    std::vector<unsigned long> docks;
    for (const unsigned long client : clients) {
        if (client == ownWindow_) {
            // A new window may have the number of one that is gone: the manager has not yet
            // taken ours while it gives it no state.
            desktop.managerBehind = desktop.managerBehind ||
                                    (managersList && values(dpy, client, atom.wmState, 1).empty());
            continue;
        }
        bool gone = false;
        const auto partial = values(dpy, client, atom.strutPartial, 12, &gone);
        desktop.managerBehind = desktop.managerBehind || (gone && desktop.windowManager != 0);
        const bool isPartial = partial.size() >= 12;
        const auto strut = isPartial ? partial : values(dpy, client, atom.strut, 4);
        if (strut.size() >= 4) {
            docks.push_back(client);
            if (strut[2] > 0 && (desktop.windowManager != 0 || shown(dpy, client))) {
                desktop.struts.push_back({pixels(strut[2]), isPartial ? pixels(partial[8]) : 0,
                                          isPartial ? pixels(partial[9]) : INT_MAX});
            }
            continue;
        }
        const auto types = values(dpy, client, atom.windowType, 16);
        if (std::find(types.begin(), types.end(), atom.dock) != types.end()) {
            docks.push_back(client);
        }
    }
    watch(std::move(docks));
    return desktop;
}

void X11WorkArea::watch(std::vector<unsigned long> docks) {
    Display* dpy = X11Desktop::display();
    std::sort(docks.begin(), docks.end());
    for (const unsigned long window : docks) {
        if (!std::binary_search(docks_.begin(), docks_.end(), window)) {
            select(dpy, window, kDockEvents, true);
        }
    }
    for (const unsigned long window : docks_) {
        if (!std::binary_search(docks.begin(), docks.end(), window)) {
            select(dpy, window, kDockEvents, false);
        }
    }
    docks_ = std::move(docks);
    XFlush(dpy);
}

bool X11WorkArea::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & 0x7f;
    if (type == XCB_PROPERTY_NOTIFY) {
        const auto* property = static_cast<const xcb_property_notify_event_t*>(message);
        Display* dpy = X11Desktop::display();
        const Atoms& atom = atoms(dpy);
        const Atom name = property->atom;
        const bool ofRoot = name == atom.workArea || name == atom.currentDesktop ||
                            name == atom.clientList || name == atom.managerCheck;
        const bool ofDock = name == atom.strutPartial || name == atom.strut;
        if (property->window == root_
                ? ofRoot
                : ofDock && std::binary_search(docks_.begin(), docks_.end(), property->window)) {
            changed_();
        }
    } else if (type == XCB_DESTROY_NOTIFY || type == XCB_UNMAP_NOTIFY || type == XCB_MAP_NOTIFY) {
        // The window is at the same place in all three.
        const auto* structure = static_cast<const xcb_destroy_notify_event_t*>(message);
        if ((windowManager_ != 0 && structure->window == windowManager_) ||
            std::binary_search(docks_.begin(), docks_.end(), structure->window)) {
            changed_();
        }
    }
    return false;
}

}  // namespace vorelt
