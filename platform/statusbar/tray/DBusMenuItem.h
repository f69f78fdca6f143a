#pragma once

#include <QList>
#include <QMetaType>
#include <QVariantMap>

class QDBusArgument;

namespace vorelt {

// A com.canonical.dbusmenu entry's properties as a panel asks for them, without its children.
struct DBusMenuItem {
    int id = 0;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItem& item);

}  // namespace vorelt

Q_DECLARE_METATYPE(vorelt::DBusMenuItem)
