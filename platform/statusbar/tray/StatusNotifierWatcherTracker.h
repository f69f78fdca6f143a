#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>

#include "platform/statusbar/StatusBarHost.h"

class QDBusServiceWatcher;

namespace vorelt {

// A QDBusServiceWatcher on the session bus's StatusNotifierWatcher and its registered host.
// Follows the desktop panel's tray as it comes and goes (a panel restarts, a session starts its
// panel late) and moves the status bar there and back: the tray while the session bus has a
// StatusNotifierWatcher with a host registered and the rule takes it, the program's own host
// otherwise.
class StatusNotifierWatcherTracker : public QObject {
    Q_OBJECT

public:
    // Makes the tray's host (true) or the program's own.
    using HostFactory = std::function<std::unique_ptr<StatusBarHost>(bool tray)>;
    using HostSink = std::function<void(std::unique_ptr<StatusBarHost>)>;
    // Whether to use a tray whose watcher has a host registered (or not), owned by a program.
    using TrayRule = std::function<bool(bool hostRegistered, const std::string& owner)>;

    // `install` receives each host chosen after the first.
    StatusNotifierWatcherTracker(HostFactory makeHost, HostSink install, TrayRule useTray);
    ~StatusNotifierWatcherTracker() override;

    // The host for now. Asks the bus and waits briefly for the answer, so that nothing shows in
    // the wrong place at start-up.
    std::unique_ptr<StatusBarHost> currentHost();
    // The panel's tray did not take the items: the program's own host, soon, until the watcher or
    // its hosts change, when the tray is tried again.
    void trayRefused();

    bool inPanel() const { return inPanel_; }
    bool hostRegistered() const { return hostRegistered_; }
    // The name of the program that owns the watcher; empty while there is none.
    const std::string& owner() const { return owner_; }
    // The name of the program behind a bus name, from its process.
    static std::string programOf(const QString& busName);

private Q_SLOTS:
    void hostsChanged();

private:
    void watcherChanged(const QString& newOwner);
    void ask(bool watcherReplaced);
    void choose(bool hostRegistered, bool watcherReplaced);

    HostFactory makeHost_;
    HostSink install_;
    TrayRule useTray_;
    QDBusServiceWatcher* serviceWatcher_ = nullptr;
    bool inPanel_ = false;
    bool hostRegistered_ = false;
    bool refused_ = false;
    std::string owner_;
    // Answers to earlier questions are dropped when a newer one was asked.
    int question_ = 0;
};

}  // namespace vorelt
