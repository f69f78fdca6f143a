#pragma once

#include <QDBusConnection>
#include <QString>

#include <initializer_list>

namespace vorelt {

// A D-Bus signal sent by libdbus itself, from the calling thread. The toolkit's bus module
// hands every message to a thread of its own, which wakes for each: a second wakeup at every tick.
class BusSignal {
public:
    // Sends `member` of `interface` from `path` with string arguments. False when it was not sent
    // here, the connection holding messages that wait for the socket: the caller sends it the
    // toolkit's way, after them.
    static bool send(const QDBusConnection& connection, const char* path, const char* interface,
                     const char* member, std::initializer_list<QString> arguments = {});
};

}  // namespace vorelt
