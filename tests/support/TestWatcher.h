#pragma once

#include <QObject>

#include <atomic>

namespace vorelt {

// A panel's watcher, with or without a host. It announces each item that registers and keeps no
// list: whoever listens counts them. A test may keep it on a thread of its own, so that it can
// answer the clock's blocking question at start-up while the test waits.
class TestWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)

public:
    bool hostRegistered() const { return hostRegistered_; }
    void setHostRegistered(bool registered) { hostRegistered_ = registered; }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) {
        Q_EMIT StatusNotifierItemRegistered(service);
    }

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    std::atomic<bool> hostRegistered_ = false;
};

}  // namespace vorelt
