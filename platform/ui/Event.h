#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/foundation/Geometry.h"
#include "platform/foundation/Object.h"

namespace vorelt {

class GlobalEventSource;

// A press that the global event source saw (XInput2, the Wayland overlay), and its monitors.
// An input event, and the global monitor that reports the mouse presses which go to other
// programs.
class Event : public Object {
public:
    // Event types; an event mask has bit 1 << type set for each type it watches, so the left and
    // right mouse presses make mask 10.
    enum Type : int {
        LeftMouseDown = 1,
        RightMouseDown = 3,
        ScrollWheel = 22,
        OtherMouseDown = 25
    };
    using Mask = std::uint64_t;
    static constexpr Mask maskFor(Type type) { return Mask{1} << static_cast<int>(type); }
    static constexpr Mask LeftMouseDownMask = Mask{1} << LeftMouseDown;    // 2
    static constexpr Mask RightMouseDownMask = Mask{1} << RightMouseDown;  // 8

    using Handler = std::function<void(const std::shared_ptr<Event>& event)>;

    Event(Type type, Point locationOnScreen);

    Type type() const { return type_; }
    Point locationOnScreen() const { return location_; }

    // Where the monitors' events come from: the desktop's in the program, a substitute in tests.
    // Not kept: its owner (the application) ends it; without one no monitor can exist.
    static void setGlobalEventSource(std::weak_ptr<GlobalEventSource> source);

    // Calls `handler` on the main thread for every event of a type in `mask` that goes to another
    // program. Returns the monitor's token, or none where no global monitor can exist (no source).
    static std::shared_ptr<Object> addGlobalMonitorForEventsMatchingMask(Mask mask,
                                                                         Handler handler);
    static void removeMonitor(const std::shared_ptr<Object>& token);
    // Whether monitors can be installed here.
    static bool globalMonitorsAvailable();
    // True just after a monitor was handed a left or right press at `where` (on screen): a click
    // there that reaches the program now is that same press seen a second way (a panel's tray
    // that reports clicks, a window of ours that the press landed on after all), and must not
    // undo what the press did. A click at no known place (0, 0) matches any place.
    static bool globalMouseDownJustHandledAt(Point where);
    // Where the left or right press was that a monitor was handed just now, if one was.
    static std::optional<Point> globalMouseDownJustHandled();

private:
    Type type_;
    Point location_;
};

}  // namespace vorelt
