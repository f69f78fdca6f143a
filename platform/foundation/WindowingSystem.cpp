#include "platform/foundation/WindowingSystem.h"

#include <QGuiApplication>

namespace vorelt {

bool WindowingSystem::hasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return !platform.isEmpty() && platform != "offscreen" && platform != "minimal";
}

bool WindowingSystem::inWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace vorelt
