#pragma once

#include <functional>

#include "platform/foundation/Geometry.h"
#include "platform/ui/Event.h"

namespace vorelt {

// Where the global monitors' presses over other programs come from: DesktopEventSource (X11,
// Wayland) in the program, a substitute in tests.
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
