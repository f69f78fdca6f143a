#pragma once

namespace vorelt {

// The desktop session's message bus, as far as the clock may use it.
class SessionBus {
public:
    // Whether a session bus is there to connect to: named by DBUS_SESSION_BUS_ADDRESS, or the
    // socket $XDG_RUNTIME_DIR/bus. Without one, no connection is tried: the bus library would
    // start a bus of its own, a process that outlives the clock.
    static bool reachable();
    // Without a reachable bus, keeps the toolkit from connecting to one later, when its first
    // window shows: it would try to start a bus, and for nothing, as a screen reader reaches
    // programs through the session bus. Called once the application object exists.
    static void keepToolkitFromStartingOne();
};

}  // namespace vorelt
