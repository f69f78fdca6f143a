#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <QStringList>

#include <atomic>

namespace vorelt {

// A panel's watcher, with or without a host. Safe across threads: a test keeps it on a thread of
// its own, so that it can answer the clock's blocking question at start-up while the test waits.
class TestWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool hostRegistered() const { return hostRegistered_; }
    void setHostRegistered(bool registered) { hostRegistered_ = registered; }
    QStringList items() const {
        QMutexLocker lock(&mutex_);
        return items_;
    }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) {
        {
            QMutexLocker lock(&mutex_);
            items_.push_back(service);
        }
        Q_EMIT StatusNotifierItemRegistered(service);
    }

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    std::atomic<bool> hostRegistered_ = false;
    mutable QMutex mutex_;
    QStringList items_;
};

}  // namespace vorelt
