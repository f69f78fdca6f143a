#pragma once

#include <memory>

#include "platform/ui/GlobalEventSource.h"

namespace vorelt {

// Outside presses from X11MouseWatcher (XInput2) and, on XWayland, from the WaylandOverlay: those
// over Wayland's own windows (the panel, native programs), which reach no X11 program.
class DesktopEventSource : public GlobalEventSource {
public:
    // None where the display cannot tell of other programs' presses (no X11, no XInput 2.2).
    static std::shared_ptr<DesktopEventSource> make();
    ~DesktopEventSource() override;

    void start(Report report) override;
    void stop() override;
};

}  // namespace vorelt
