#pragma once

#include <array>
#include <optional>
#include <vector>

namespace vorelt {

// The bar's top from _NET_WORKAREA and the other X11 windows' _NET_WM_STRUT(_PARTIAL).
// Where the own bar goes: the top of a monitor's work area with the bar's own strip left out, in
// the display's pixels. The window manager's work area (_NET_WORKAREA) counts the bar's strip
// too, so it cannot tell that strip from another dock's: the top comes from the strips that the
// other windows reserve. What the work area takes beyond those is the window manager's own (a
// shell's top bar that is no window); while the work area ends at one of the bar's recent strips,
// which hides it, the last one seen is kept, until another manager comes. A work area left behind
// by a manager that went is stale: without a manager only the other windows' strips count. So is
// one from a manager that has not caught up with a window's end.
class WorkAreaTop {
public:
    // A window's top strut (_NET_WM_STRUT_PARTIAL): a strip along the top of the screen: from the
    // screen's top edge down to `bottom`, over the columns from `startX` to `endX`, both included.
    struct Strut {
        int bottom = 0;
        int startX = 0;
        int endX = 0;
    };
    // A monitor's columns and rows (a QScreen's geometry, in the display's pixels), the last ones
    // included.
    struct Monitor {
        int left = 0;
        int right = 0;
        int top = 0;
        int bottom = 0;
    };
    // What the X11 display's window properties say.
    struct Desktop {
        // The window manager's check window; 0 when none runs.
        unsigned long windowManager = 0;
        // The top of its work area on the current desktop, when it publishes one; not trusted
        // without a manager.
        std::optional<int> workAreaTop;
        // The strips of the other windows, the bar's own left out.
        std::vector<Strut> struts;
        // The manager's list names a window that is gone: it has not caught up, and its work
        // area may still hold that window's strip (a clock that ended just before this one).
        bool managerBehind = false;
    };

    int topOf(const Monitor& monitor, const Desktop& desktop);
    // The bar now reserves its strip down to `bottom`.
    void reserved(int bottom);

private:
    bool reservedLately(int bottom) const;

    unsigned long windowManager_ = 0;
    int managersOwn_ = 0;
    // The bar's last strips, the newest first: the work area follows each of them a little later.
    std::array<int, 3> reserved_{-1, -1, -1};
};

}  // namespace vorelt
