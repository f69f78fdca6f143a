#pragma once

#include <QObject>

#include <functional>
#include <memory>

#include "platform/StatusBarHost.h"

class QDBusServiceWatcher;

namespace vorelt {

// Follows the desktop panel's tray as it comes and goes (a panel restarts, a session starts its
// panel late) and moves the status bar there and back: the tray while the session bus has a
// StatusNotifierWatcher with a host registered, Vorelt's own bar otherwise.
class StatusNotifierWatcherTracker : public QObject {
    Q_OBJECT

public:
    using HostFactory = std::function<std::unique_ptr<StatusBarHost>()>;
    using HostSink = std::function<void(std::unique_ptr<StatusBarHost>)>;

    // `ownHost` makes Vorelt's own bar; `install` receives each host chosen after the first.
    StatusNotifierWatcherTracker(HostFactory ownHost, HostSink install);
    ~StatusNotifierWatcherTracker() override;

    // The host for now. Asks the bus and waits briefly for the answer, so that nothing shows in
    // the wrong place at start-up.
    std::unique_ptr<StatusBarHost> currentHost();
    bool inPanel() const { return inPanel_; }

private Q_SLOTS:
    void hostsChanged();

private:
    void watcherChanged(const QString& newOwner);
    void ask(bool watcherReplaced);
    void choose(bool panel, bool watcherReplaced);
    std::unique_ptr<StatusBarHost> makeHost() const;

    HostFactory ownHost_;
    HostSink install_;
    QDBusServiceWatcher* serviceWatcher_ = nullptr;
    bool inPanel_ = false;
    // Answers to earlier questions are dropped when a newer one was asked.
    int question_ = 0;
};

}  // namespace vorelt
