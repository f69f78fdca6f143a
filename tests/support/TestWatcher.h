#pragma once

#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>

#include <atomic>

namespace vorelt {

// A panel's watcher, with or without a host. It announces each item that registers, lists it,
// or drops it at once as a panel that cannot show it does. A test may keep it on a thread of its
// own, so that it can answer the clock's blocking question at start-up while the test waits.
class TestWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)

public:
    bool hostRegistered() const { return hostRegistered_; }
    void setHostRegistered(bool registered) { hostRegistered_ = registered; }
    void setDropsItems(bool drops) { dropsItems_ = drops; }
    QStringList registeredItems() const { return items_; }

public Q_SLOTS:
    // An item registers by its bus name, or by its path on the bus name that sends this.
    void RegisterStatusNotifierItem(const QString& serviceOrPath) {
        const bool path = serviceOrPath.startsWith('/');
        const QString service = path ? message().service() : serviceOrPath;
        Q_EMIT StatusNotifierItemRegistered(service);
        if (dropsItems_) {
            Q_EMIT StatusNotifierItemUnregistered(service);
        } else {
            items_ << service + (path ? serviceOrPath : "/StatusNotifierItem");
        }
    }

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    std::atomic<bool> hostRegistered_ = false;
    std::atomic<bool> dropsItems_ = false;
    // Read and written on the watcher's thread only.
    QStringList items_;
};

}  // namespace vorelt
