#pragma once

#include <QList>
#include <QMetaType>
#include <QVariantMap>

class QDBusArgument;

namespace vorelt {

// A com.canonical.dbusmenu layout node.
// A menu entry as a panel reads a menu's layout: its id, its properties and its children, each
// child wrapped in a variant.
struct DBusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item);

}  // namespace vorelt

Q_DECLARE_METATYPE(vorelt::DBusMenuLayoutItem)
