#include "platform/statusbar/tray/DBusMenuExporter.h"

#include <QDBusMetaType>
#include <QGuiApplication>
#include <QTimer>

#include "platform/ui/Menu.h"
#include "platform/ui/MenuItem.h"

namespace vorelt {

namespace {

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<DBusMenuLayoutItem>();
        qDBusRegisterMetaType<DBusMenuItem>();
        qDBusRegisterMetaType<QList<DBusMenuItem>>();
        qDBusRegisterMetaType<DBusMenuEvent>();
        qDBusRegisterMetaType<QList<DBusMenuEvent>>();
        qDBusRegisterMetaType<QList<int>>();
        return true;
    }();
    (void)registered;
}

// Panels read an underscore as the mark of the key that chooses the entry; two make one.
QString labelOf(const MenuItem& item) {
    return QString::fromStdString(item.title()).replace(QLatin1Char('_'), QStringLiteral("__"));
}

QVariantMap only(const QVariantMap& properties, const QStringList& names) {
    if (names.isEmpty()) {
        return properties;
    }
    QVariantMap kept;
    for (const QString& name : names) {
        if (properties.contains(name)) {
            kept.insert(name, properties.value(name));
        }
    }
    return kept;
}

}  // namespace

DBusMenuExporter::DBusMenuExporter(std::function<std::shared_ptr<Menu>()> menu,
                                   std::function<void()> opening, QObject* parent)
    : QObject(parent), menu_(std::move(menu)), opening_(std::move(opening)) {
    registerTypes();
    refresh();
}

QString DBusMenuExporter::textDirection() const {
    return QGuiApplication::isRightToLeft() ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

bool DBusMenuExporter::refresh() {
    QList<QVariantMap> entries;
    if (const auto menu = menu_()) {
        menu->update();
        for (const auto& item : menu->itemArray()) {
            QVariantMap properties;
            if (item->isSeparatorItem()) {
                properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
            } else {
                properties.insert(QStringLiteral("label"), labelOf(*item));
                if (!item->isEnabled()) {
                    properties.insert(QStringLiteral("enabled"), false);
                }
            }
            entries.append(properties);
        }
    }
    if (entries == entries_) {
        return false;
    }
    entries_ = entries;
    ++revision_;
    return true;
}

void DBusMenuExporter::menuChanged() {
    if (refresh()) {
        Q_EMIT LayoutUpdated(revision_, 0);
    }
}

bool DBusMenuExporter::exists(int id) const {
    return id >= 0 && id <= entries_.size();
}

QVariantMap DBusMenuExporter::propertiesOf(int id, const QStringList& names) const {
    if (id == 0) {
        return only({{QStringLiteral("children-display"), QStringLiteral("submenu")}}, names);
    }
    return only(entries_.value(id - 1), names);
}

uint DBusMenuExporter::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                 DBusMenuLayoutItem& layout) {
    refresh();
    if (!exists(parentId)) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No menu entry %1").arg(parentId));
        return 0;
    }
    layout = DBusMenuLayoutItem{parentId, propertiesOf(parentId, propertyNames), {}};
    if (parentId == 0 && recursionDepth != 0) {
        for (int id = 1; id <= entries_.size(); ++id) {
            layout.children.append(DBusMenuLayoutItem{id, propertiesOf(id, propertyNames), {}});
        }
    }
    return revision_;
}

QList<DBusMenuItem> DBusMenuExporter::GetGroupProperties(const QList<int>& ids,
                                                         const QStringList& propertyNames) {
    QList<DBusMenuItem> items;
    for (const int id : ids) {
        if (exists(id)) {
            items.append(DBusMenuItem{id, propertiesOf(id, propertyNames)});
        }
    }
    return items;
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString& name) {
    const QVariantMap properties = propertiesOf(id);
    if (!exists(id) || !properties.contains(name)) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No property %1").arg(name));
        return QDBusVariant(QVariant(0));
    }
    return QDBusVariant(properties.value(name));
}

bool DBusMenuExporter::handle(int id, const QString& eventId) {
    if (!exists(id)) {
        return false;
    }
    // Opening is told by AboutToShow, which every panel sends, with or without "opened".
    if (id == 0 || eventId != QLatin1String("clicked")) {
        return true;
    }
    const auto menu = menu_();
    if (!menu || id > static_cast<int>(menu->itemArray().size())) {
        return false;
    }
    const std::weak_ptr<MenuItem> item = menu->itemArray()[static_cast<size_t>(id - 1)];
    QTimer::singleShot(0, this, [item] {
        if (const auto chosen = item.lock()) {
            chosen->performAction();
        }
    });
    return true;
}

void DBusMenuExporter::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
    if (!handle(id, eventId)) {
        sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("No menu entry %1").arg(id));
    }
}

QList<int> DBusMenuExporter::EventGroup(const QList<DBusMenuEvent>& events) {
    QList<int> errors;
    for (const DBusMenuEvent& event : events) {
        if (!handle(event.id, event.eventId)) {
            errors.append(event.id);
        }
    }
    return errors;
}

bool DBusMenuExporter::AboutToShow(int id) {
    if (id == 0) {
        opening_();
    }
    const bool changed = refresh();
    if (changed) {
        Q_EMIT LayoutUpdated(revision_, 0);
    }
    return changed;
}

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
    QList<int> updates;
    for (const int id : ids) {
        if (!exists(id)) {
            idErrors.append(id);
        } else if (AboutToShow(id)) {
            updates.append(id);
        }
    }
    return updates;
}

}  // namespace vorelt
