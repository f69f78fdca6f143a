#pragma once

#include <optional>
#include <vector>

#include "platform/foundation/Geometry.h"

namespace vorelt {

// The place of a click on a StatusNotifierItem: Activate's x and y, or the pointer's (QCursor).
// Where a click on a panel's tray item happened, for the popover to open beside the item. Panels
// tell it differently: some send the pointer's place, some a place in their own window's
// coordinates, some no place at all (an entry of the item's menu); and in a Wayland session the
// pointer over the shell's panel is not seen.
class StatusNotifierClickPlace {
public:
    // A monitor: a QScreen, or an output as the Wayland overlay sees it.
    struct Screen {
        Rect frame;
        // The screen less its panels' strips.
        Rect workArea;
    };

    // On a screen and outside its work area: on a panel.
    static bool onPanel(const std::vector<Screen>& screens, Point point);

    // The first of these on a panel: the pointer's place at the press, the host's point, the
    // last point the host sent. Else the end of the first screen's panel strip where trays
    // sit: the right end, the left in a right-to-left language.
    static Point choose(const std::vector<Screen>& screens, std::optional<Point> fromHost,
                        std::optional<Point> pointer, std::optional<Point> lastFromHost,
                        bool rightToLeft);

    // Where the item is taken to be for a click at `point`: across its panel's strip, so that
    // the popover opens at the panel's edge; a point where no panel is.
    static Rect itemFrame(const std::vector<Screen>& screens, Point point);
};

}  // namespace vorelt
