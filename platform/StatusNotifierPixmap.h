#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>

class QDBusArgument;

namespace vorelt {

// One icon image as a panel's tray reads it: ARGB32 pixels, each in network byte order.
struct StatusNotifierPixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;

    // A clock face drawn in code, in a few sizes, for icon themes without a clock icon.
    static QList<StatusNotifierPixmap> clockIcon();
};

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap);

}  // namespace vorelt

Q_DECLARE_METATYPE(vorelt::StatusNotifierPixmap)
