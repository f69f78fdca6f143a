#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Object.h"
#include "platform/statusbar/StatusBarHost.h"
#include "platform/statusbar/StatusBarHostRule.h"

namespace vorelt {

class StatusItem;
class StatusNotifierWatcherTracker;

// The status bar: a D-Bus tray item in the panel, else a Qt bar window, else standard output.
// Its items are shown by a host, chosen by StatusBarHostRule: the desktop panel's tray while the
// panel has one that shows their text (on KDE Plasma, the program's own applet in the panel), else
// a bar window along the top of the screen when there is a display, standard output when there is
// none.
class StatusBar : public Object {
public:
    static constexpr double VariableStatusItemLength = -1.0;

    static std::shared_ptr<StatusBar> systemStatusBar();

    StatusBar();
    ~StatusBar() override;

    // A new item, shown in the bar at once.
    std::shared_ptr<StatusItem> statusItemWithLength(double length);
    void removeStatusItem(const std::shared_ptr<StatusItem>& item);
    const std::vector<std::shared_ptr<StatusItem>>& items() const { return items_; }

    // What the command line asked for, and whether the program was started with
    // QT_QPA_PLATFORM=offscreen; until told, automatic and not offscreen.
    void request(StatusBarHostRule::Place place, bool offscreenAskedFor);

    StatusBarHost& host();
    // Moves every item to a new host, which stays: the bar stops following the panel's tray.
    void setHost(std::unique_ptr<StatusBarHost> host);
    // Takes the items off the host and drops it, before the windowing system goes away.
    void detachHost();

private:
    std::unique_ptr<StatusBarHost> defaultHost();
    std::unique_ptr<StatusBarHost> hostAt(StatusBarHostRule::Place place);
    StatusBarHostRule::Facts facts() const;
    void installHost(std::unique_ptr<StatusBarHost> host);
    // The panel's tray refused the items: says so once, and goes to our own host.
    void trayRefused(const std::string& why);

    // Moves the items between the panel's tray and our own bar while the host is the default.
    std::unique_ptr<StatusNotifierWatcherTracker> tracker_;
    StatusBarHostRule::Facts facts_;
    StatusBarHostRule::Place requested_ = StatusBarHostRule::Place::automatic;
    bool offscreenAskedFor_ = false;
    std::unique_ptr<StatusBarHost> host_;
    std::vector<std::shared_ptr<StatusItem>> items_;
    // What was said on standard error, once in the bar's life: that the title cannot be seen,
    // that the tray refused the items, that the bar lies over windows.
    bool adviceGiven_ = false;
    bool refusalTold_ = false;
    bool noRoomTold_ = false;
};

}  // namespace vorelt
