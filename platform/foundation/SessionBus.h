#pragma once

#include <QDBusConnection>
#include <QString>

namespace vorelt {

// The D-Bus session bus through QtDBus: $DBUS_SESSION_BUS_ADDRESS or $XDG_RUNTIME_DIR/bus.
// Only as far as the clock may use it.
class SessionBus {
public:
    // Whether a session bus is there to connect to: named by DBUS_SESSION_BUS_ADDRESS, or the
    // socket $XDG_RUNTIME_DIR/bus. Without one, no connection is tried: the bus library would
    // start a bus of its own, a process that outlives the clock.
    static bool reachable();
    // The shared connection to the session bus; one that is not connected without a bus.
    static QDBusConnection shared();
    // A connection of its own named `name`; one that is not connected without a bus.
    static QDBusConnection open(const QString& name);
    // Without a reachable bus, keeps the toolkit from connecting to one later, when its first
    // window shows: it would try to start a bus, and for nothing, as a screen reader reaches
    // programs through the session bus. Called once the application object exists.
    static void keepToolkitFromStartingOne();
};

}  // namespace vorelt
