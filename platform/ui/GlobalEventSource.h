#pragma once

#include <functional>

#include "platform/foundation/Geometry.h"
#include "platform/ui/Event.h"

namespace vorelt {

// An interface for presses over other programs: DesktopEventSource (X11, Wayland) or a test's.
// Where the global monitors' events come from: the presses that go to other programs. The
// desktop's source in the program, a substitute in tests.
class GlobalEventSource {
public:
    using Report = std::function<void(Event::Type type, Point locationOnScreen)>;

    GlobalEventSource() = default;
    GlobalEventSource(const GlobalEventSource&) = delete;
    GlobalEventSource& operator=(const GlobalEventSource&) = delete;
    virtual ~GlobalEventSource() = default;

    // Hands every outside event to `report` until stop(); called again while monitors come.
    virtual void start(Report report) = 0;
    virtual void stop() = 0;
};

}  // namespace vorelt
