#include "platform/ui/DesktopEventSource.h"

#include "platform/wayland/WaylandOverlay.h"
#include "platform/x11/X11MouseWatcher.h"

namespace vorelt {

namespace {

Event::Type typeOf(X11MouseWatcher::Press press) {
    switch (press) {
        case X11MouseWatcher::Press::left:
            return Event::LeftMouseDown;
        case X11MouseWatcher::Press::right:
            return Event::RightMouseDown;
        case X11MouseWatcher::Press::scroll:
            return Event::ScrollWheel;
        default:
            return Event::OtherMouseDown;
    }
}

Event::Type typeOf(WaylandOverlay::Button button) {
    switch (button) {
        case WaylandOverlay::Button::left:
            return Event::LeftMouseDown;
        case WaylandOverlay::Button::right:
            return Event::RightMouseDown;
        default:
            return Event::OtherMouseDown;
    }
}

}  // namespace

std::shared_ptr<DesktopEventSource> DesktopEventSource::make() {
    if (X11MouseWatcher::instance() == nullptr) {
        return nullptr;
    }
    return std::make_shared<DesktopEventSource>();
}

DesktopEventSource::~DesktopEventSource() {
    stop();
}

void DesktopEventSource::start(Report report) {
    if (X11MouseWatcher* x11 = X11MouseWatcher::instance()) {
        x11->watch(
            [report](X11MouseWatcher::Press press, Point place) { report(typeOf(press), place); });
    }
    if (WaylandOverlay* wayland = WaylandOverlay::instance()) {
        wayland->startCatching([report](WaylandOverlay::Button button, Point place) {
            report(typeOf(button), place);
        });
    }
}

void DesktopEventSource::stop() {
    if (X11MouseWatcher* x11 = X11MouseWatcher::instance()) {
        x11->watch(nullptr);
    }
    if (WaylandOverlay* wayland = WaylandOverlay::instance()) {
        wayland->stopCatching();
    }
}

}  // namespace vorelt
