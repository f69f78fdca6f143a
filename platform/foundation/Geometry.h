#pragma once

namespace vorelt {

// A point in screen pixels, a plain value that the platform turns into Qt's.
struct Point {
    double x = 0.0;
    double y = 0.0;
    constexpr bool operator==(const Point&) const = default;
};

// A rectangle; in screen coordinates y grows downwards, as on X11.
struct Rect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    constexpr bool operator==(const Rect&) const = default;
    constexpr bool contains(Point point) const {
        return point.x >= x && point.x < x + width && point.y >= y && point.y < y + height;
    }
};

// Edges of a rectangle: the popover's preferred edge is given by number, MinY (1) being the edge
// below a status item.
enum class RectEdge { MinX = 0, MinY = 1, MaxX = 2, MaxY = 3 };

}  // namespace vorelt
