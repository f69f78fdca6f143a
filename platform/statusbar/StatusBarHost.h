#pragma once

#include <optional>

#include "platform/foundation/Geometry.h"

namespace vorelt {

class StatusItem;

// Whatever shows the status bar's items: a bar window, a line on standard output, a panel's tray.
class StatusBarHost {
public:
    StatusBarHost() = default;
    StatusBarHost(const StatusBarHost&) = delete;
    StatusBarHost& operator=(const StatusBarHost&) = delete;
    virtual ~StatusBarHost() = default;

    virtual void addItem(StatusItem& item) = 0;
    virtual void removeItem(StatusItem& item) = 0;
    // The item's title, length or button changed.
    virtual void itemChanged(StatusItem& item) = 0;
    // Where the item is on screen, for anchoring a popover; empty when it is not on a screen.
    virtual Rect screenFrameOfItem(const StatusItem& item) const = 0;
    // The side of the item a popover opens on, where the host knows better than the one who
    // opens it (an applet in a panel at the screen's bottom or side); none leaves it to them.
    virtual std::optional<RectEdge> popoverEdgeOfItem(const StatusItem&) const {
        return std::nullopt;
    }
};

}  // namespace vorelt
