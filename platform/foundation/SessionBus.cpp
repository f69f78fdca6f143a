#include "platform/foundation/SessionBus.h"

#include <QAccessible>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <string>

namespace vorelt {

bool SessionBus::reachable() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && address[0] != '\0') {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] == '\0') {
        return false;
    }
    // The bus library takes this socket only when it is ours.
    const std::string socket = std::string(runtime) + "/bus";
    struct stat info = {};
    return ::stat(socket.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) &&
           info.st_uid == ::getuid();
}

QDBusConnection SessionBus::shared() {
    return reachable() ? QDBusConnection::sessionBus() : QDBusConnection(QString());
}

QDBusConnection SessionBus::open(const QString& name) {
    return reachable() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, name)
                       : QDBusConnection(name);
}

void SessionBus::keepToolkitFromStartingOne() {
    if (reachable()) {
        return;
    }
    // The screen readers' bridge asks for the session bus when it is made, and is made on the
    // first question: asked here, it meets an address that fails at once, and only here.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    (void)QAccessible::isActive();
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace vorelt
