#pragma once

#include <QDBusContext>
#include <QDBusMessage>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <QStringList>

#include <atomic>

namespace vorelt {

// A panel's watcher, with or without a host. Safe across threads: a test keeps it on a thread of
// its own, so that it can answer the clock's blocking question at start-up while the test waits.
class TestWatcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    bool hostRegistered() const { return hostRegistered_; }
    void setHostRegistered(bool registered) { hostRegistered_ = registered; }
    int protocolVersion() const { return 0; }
    QStringList items() const {
        QMutexLocker lock(&mutex_);
        return items_;
    }
    QStringList senders() const {
        QMutexLocker lock(&mutex_);
        return senders_;
    }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) {
        {
            QMutexLocker lock(&mutex_);
            items_.push_back(service);
            senders_.push_back(message().service());
        }
        Q_EMIT StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();

private:
    std::atomic<bool> hostRegistered_ = false;
    mutable QMutex mutex_;
    QStringList items_;
    QStringList senders_;
};

}  // namespace vorelt
