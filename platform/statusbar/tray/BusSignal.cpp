#include "platform/statusbar/tray/BusSignal.h"

#include <dbus/dbus.h>

#include <QByteArray>

#include <memory>

namespace vorelt {

bool BusSignal::send(const QDBusConnection& connection, const char* path, const char* interface,
                     const char* member, std::initializer_list<QString> arguments) {
    auto* bus = static_cast<DBusConnection*>(connection.internalPointer());
    // Waiting messages are the toolkit thread's to write; one written here would pass them, and
    // its socket watch is not to be touched from this thread.
    if (bus == nullptr || !connection.isConnected() || dbus_connection_has_messages_to_send(bus)) {
        return false;
    }
    const std::unique_ptr<DBusMessage, decltype(&dbus_message_unref)> message(
        dbus_message_new_signal(path, interface, member), &dbus_message_unref);
    if (message == nullptr) {
        return false;
    }
    DBusMessageIter iter;
    dbus_message_iter_init_append(message.get(), &iter);
    for (const QString& argument : arguments) {
        // The toolkit's encoding replaces lone surrogates: the library takes valid UTF-8 only.
        const QByteArray text = argument.toUtf8();
        const char* data = text.constData();
        if (!dbus_message_iter_append_basic(&iter, DBUS_TYPE_STRING, &data)) {
            return false;
        }
    }
    return dbus_connection_send(bus, message.get(), nullptr) != 0;
}

}  // namespace vorelt
