#include "platform/statusbar/tray/StatusNotifierClickPlace.h"

namespace vorelt {

bool StatusNotifierClickPlace::onPanel(const std::vector<Screen>& screens, Point point) {
    for (const Screen& screen : screens) {
        if (screen.frame.contains(point)) {
            return !screen.workArea.contains(point);
        }
    }
    return false;
}

Point StatusNotifierClickPlace::choose(const std::vector<Screen>& screens,
                                       std::optional<Point> fromHost, std::optional<Point> pointer,
                                       std::optional<Point> lastFromHost, bool rightToLeft) {
    for (const auto& candidate : {pointer, fromHost, lastFromHost}) {
        if (candidate && onPanel(screens, *candidate)) {
            return *candidate;
        }
    }
    if (screens.empty()) {
        return Point{};
    }
    const Rect& frame = screens.front().frame;
    const Rect& area = screens.front().workArea;
    const double x = rightToLeft ? area.x : area.x + area.width - 1;
    const double above = area.y - frame.y;
    const double below = frame.y + frame.height - (area.y + area.height);
    // The middle of the strip at the top, else of the one at the bottom, else the screen's edge.
    if (above <= 0 && below > 0) {
        return Point{x, area.y + area.height + below / 2};
    }
    return Point{x, frame.y + above / 2};
}

Rect StatusNotifierClickPlace::itemFrame(const std::vector<Screen>& screens, Point point) {
    for (const Screen& screen : screens) {
        const Rect& frame = screen.frame;
        const Rect& area = screen.workArea;
        if (!frame.contains(point) || area.contains(point)) {
            continue;
        }
        // A strip along the top or the bottom spans the rows above or below the work area; one
        // along a side, the columns beside it.
        if (point.y < area.y) {
            return Rect{point.x, frame.y, 1.0, area.y - frame.y};
        }
        if (point.y >= area.y + area.height) {
            return Rect{point.x, area.y + area.height, 1.0,
                        frame.y + frame.height - (area.y + area.height)};
        }
        if (point.x < area.x) {
            return Rect{frame.x, point.y, area.x - frame.x, 1.0};
        }
        return Rect{area.x + area.width, point.y, frame.x + frame.width - (area.x + area.width),
                    1.0};
    }
    return Rect{point.x, point.y, 1.0, 1.0};
}

}  // namespace vorelt
