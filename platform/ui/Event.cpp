#include "platform/ui/Event.h"

#include <chrono>
#include <cmath>
#include <map>
#include <vector>

#include "platform/ui/GlobalEventSource.h"

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

std::weak_ptr<GlobalEventSource> globalSource;
std::chrono::steady_clock::time_point lastMouseDown;
Point lastMouseDownAt;

// Hands an outside event to the installed monitors.
void deliver(Event::Type type, Point locationOnScreen) {
    const auto event = std::make_shared<Event>(type, locationOnScreen);
    // A handler may remove monitors, its own included.
    std::vector<const Object*> tokens;
    for (const auto& [token, monitor] : monitors()) {
        tokens.push_back(token);
    }
    for (const Object* token : tokens) {
        const auto it = monitors().find(token);
        if (it != monitors().end() && (it->second.mask & Event::maskFor(type)) != 0) {
            const Event::Handler handler = it->second.handler;
            if (type == Event::LeftMouseDown || type == Event::RightMouseDown) {
                lastMouseDown = std::chrono::steady_clock::now();
                lastMouseDownAt = locationOnScreen;
            }
            handler(event);
        }
    }
}

}  // namespace

Event::Event(Type type, Point locationOnScreen) : type_(type), location_(locationOnScreen) {}

void Event::setGlobalEventSource(std::weak_ptr<GlobalEventSource> source) {
    if (const auto old = globalSource.lock(); old && !monitors().empty()) {
        old->stop();
    }
    globalSource = std::move(source);
    if (const auto now = globalSource.lock(); now && !monitors().empty()) {
        now->start(deliver);
    }
}

std::shared_ptr<Object> Event::addGlobalMonitorForEventsMatchingMask(Mask mask, Handler handler) {
    const auto source = globalSource.lock();
    if (!source || !handler) {
        return nullptr;
    }
    auto token = std::make_shared<MonitorToken>();
    monitors().emplace(token.get(), Monitor{mask, std::move(handler)});
    source->start(deliver);
    return token;
}

void Event::removeMonitor(const std::shared_ptr<Object>& token) {
    monitors().erase(token.get());
    if (const auto source = globalSource.lock(); source && monitors().empty()) {
        source->stop();
    }
}

bool Event::globalMonitorsAvailable() {
    return !globalSource.expired();
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

}  // namespace vorelt
