#pragma once

#include <QDBusContext>
#include <QDBusVariant>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <memory>

#include "platform/statusbar/tray/DBusMenuEvent.h"
#include "platform/statusbar/tray/DBusMenuItem.h"
#include "platform/statusbar/tray/DBusMenuLayoutItem.h"

namespace vorelt {

class Menu;

// A menu as panels read it over the session bus (com.canonical.dbusmenu): a root, id 0, and one
// level of entries numbered from 1 in their order. A chosen entry sends its action at the next
// turn of the event loop, once the panel has had its answer and closed its menu.
class DBusMenuExporter : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version CONSTANT)
    Q_PROPERTY(QString TextDirection READ textDirection CONSTANT)
    Q_PROPERTY(QString Status READ status CONSTANT)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath CONSTANT)

public:
    static constexpr const char* objectPath = "/MenuBar";

    // `menu` gives the menu to show, or none for an empty one; `opening` runs as the panel opens
    // it, before its entries are brought up to date.
    DBusMenuExporter(std::function<std::shared_ptr<Menu>()> menu, std::function<void()> opening,
                     QObject* parent = nullptr);

    uint version() const { return 3; }
    QString textDirection() const;
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

    // Tells the panel when the entries differ from what it read last.
    void menuChanged();

public Q_SLOTS:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   vorelt::DBusMenuLayoutItem& layout);
    QList<vorelt::DBusMenuItem> GetGroupProperties(const QList<int>& ids,
                                                   const QStringList& propertyNames);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    QList<int> EventGroup(const QList<vorelt::DBusMenuEvent>& events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

Q_SIGNALS:
    void LayoutUpdated(uint revision, int parent);

private:
    bool exists(int id) const;
    QVariantMap propertiesOf(int id, const QStringList& names = {}) const;
    // Brings the entries up to date; true when they now differ from what the panel read.
    bool refresh();
    // Handles one event; false for an entry that does not exist.
    bool handle(int id, const QString& eventId);

    std::function<std::shared_ptr<Menu>()> menu_;
    std::function<void()> opening_;
    uint revision_ = 1;
    QList<QVariantMap> entries_;
};

}  // namespace vorelt
