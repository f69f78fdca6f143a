#pragma once

#include <functional>

class QObject;

namespace vorelt {

// QGuiApplication's and QScreen's signals of monitor changes.
// The monitors' changes that move what lies on them: a monitor added or removed, another one
// primary, a new geometry, and on request a new work area.
class ScreenChanges {
public:
    enum class WorkAreas { ignored, followed };

    // Calls `changed` at each such change until `context` is destroyed.
    static void follow(QObject* context, const std::function<void()>& changed,
                       WorkAreas workAreas = WorkAreas::ignored);
};

}  // namespace vorelt
