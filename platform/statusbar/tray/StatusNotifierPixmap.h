#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>

class QDBusArgument;

namespace vorelt {

// One StatusNotifierItem icon image as a panel's tray reads it over D-Bus: ARGB32 pixels, each in
// network byte order.
struct StatusNotifierPixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;

    // The program's clock face, drawn in code in the sizes trays ask for: no icon theme needs to
    // have it.
    static QList<StatusNotifierPixmap> clockIcon();
};

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap);

}  // namespace vorelt

Q_DECLARE_METATYPE(vorelt::StatusNotifierPixmap)
