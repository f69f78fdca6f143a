#pragma once

#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>

class QDBusArgument;

namespace vorelt {

// A com.canonical.dbusmenu Event that a panel reports of a menu entry: "clicked", "hovered",
// "opened" or "closed".
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event);

}  // namespace vorelt

Q_DECLARE_METATYPE(vorelt::DBusMenuEvent)
