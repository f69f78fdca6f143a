#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include "platform/statusbar/tray/StatusNotifierPixmap.h"

class QDBusArgument;

namespace vorelt {

// A StatusNotifierItem's ToolTip property, as a panel reads it over D-Bus: an icon, a title and a
// longer description.
struct StatusNotifierToolTip {
    QString iconName;
    QList<StatusNotifierPixmap> pixmaps;
    QString title;
    QString description;
};

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& toolTip);

}  // namespace vorelt

Q_DECLARE_METATYPE(vorelt::StatusNotifierToolTip)
