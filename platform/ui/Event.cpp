#include "platform/ui/Event.h"

#include <chrono>
#include <cmath>
#include <map>
#include <vector>

#include "platform/wayland/WaylandOverlay.h"
#include "platform/x11/X11MouseWatcher.h"

namespace vorelt {

namespace {

struct Monitor {
    Event::Mask mask;
    Event::Handler handler;
};

class MonitorToken : public Object {};

std::map<const Object*, Monitor>& monitors() {
    static std::map<const Object*, Monitor> installed;
    return installed;
}

bool substituteSource = false;
std::chrono::steady_clock::time_point lastMouseDown;
Point lastMouseDownAt;

X11MouseWatcher* watcher() {
    return substituteSource ? nullptr : X11MouseWatcher::instance();
}

// Through XWayland, presses over Wayland's own windows (the panel, native programs) reach no X11
// program: the overlay catches them.
WaylandOverlay* overlay() {
    return substituteSource ? nullptr : WaylandOverlay::instance();
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

Event::Event(Type type, Point locationOnScreen) : type_(type), location_(locationOnScreen) {}

std::shared_ptr<Object> Event::addGlobalMonitorForEventsMatchingMask(Mask mask, Handler handler) {
    if (!globalMonitorsAvailable() || !handler) {
        return nullptr;
    }
    auto token = std::make_shared<MonitorToken>();
    monitors().emplace(token.get(), Monitor{mask, std::move(handler)});
    if (X11MouseWatcher* x11 = watcher()) {
        x11->setWatching(true);
    }
    if (WaylandOverlay* wayland = overlay()) {
        wayland->startCatching([](WaylandOverlay::Button button, Point place) {
            deliverGlobalEvent(typeOf(button), place);
        });
    }
    return token;
}

void Event::removeMonitor(const std::shared_ptr<Object>& token) {
    monitors().erase(token.get());
    if (X11MouseWatcher* x11 = watcher(); x11 != nullptr && monitors().empty()) {
        x11->setWatching(false);
    }
    if (WaylandOverlay* wayland = overlay(); wayland != nullptr && monitors().empty()) {
        wayland->stopCatching();
    }
}

bool Event::globalMonitorsAvailable() {
    return substituteSource || X11MouseWatcher::instance() != nullptr;
}

void Event::useSubstituteSource(bool substitute) {
    substituteSource = substitute;
}

std::optional<Point> Event::globalMouseDownJustHandled() {
    // Longer than a press and its release take.
    constexpr std::chrono::milliseconds kOnePress{500};
    if (lastMouseDown == std::chrono::steady_clock::time_point{} ||
        std::chrono::steady_clock::now() - lastMouseDown >= kOnePress) {
        return std::nullopt;
    }
    return lastMouseDownAt;
}

bool Event::globalMouseDownJustHandledAt(Point where) {
    // A hand's tremor apart.
    constexpr double kSamePlace = 8.0;
    const std::optional<Point> press = globalMouseDownJustHandled();
    return press && (where == Point{} || (std::abs(where.x - press->x) <= kSamePlace &&
                                          std::abs(where.y - press->y) <= kSamePlace));
}

void Event::deliverGlobalEvent(Type type, Point locationOnScreen) {
    const auto event = std::make_shared<Event>(type, locationOnScreen);
    // A handler may remove monitors, its own included.
    std::vector<const Object*> tokens;
    for (const auto& [token, monitor] : monitors()) {
        tokens.push_back(token);
    }
    for (const Object* token : tokens) {
        const auto it = monitors().find(token);
        if (it != monitors().end() && (it->second.mask & maskFor(type)) != 0) {
            const Handler handler = it->second.handler;
            if (type == LeftMouseDown || type == RightMouseDown) {
                lastMouseDown = std::chrono::steady_clock::now();
                lastMouseDownAt = locationOnScreen;
            }
            handler(event);
        }
    }
}

}  // namespace vorelt
