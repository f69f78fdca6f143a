#pragma once

#include <QPoint>
#include <QRect>

#include "platform/foundation/Geometry.h"

namespace vorelt {

// Qt's whole-pixel geometry as the system's own code holds it.
inline Point pointFrom(const QPoint& point) {
    return Point{static_cast<double>(point.x()), static_cast<double>(point.y())};
}

inline Rect rectFrom(const QRect& rect) {
    return Rect{static_cast<double>(rect.x()), static_cast<double>(rect.y()),
                static_cast<double>(rect.width()), static_cast<double>(rect.height())};
}

// And back, to whole pixels.
inline QRect qRectFrom(const Rect& rect) {
    return QRect(static_cast<int>(rect.x), static_cast<int>(rect.y), static_cast<int>(rect.width),
                 static_cast<int>(rect.height));
}

}  // namespace vorelt
