#include "platform/statusbar/StatusBar.h"

#include <QByteArray>
#include <QCoreApplication>

#include <unistd.h>
#include <algorithm>
#include <cstdio>

#include "platform/foundation/Identity.h"
#include "platform/foundation/WindowingSystem.h"
#include "platform/statusbar/HiddenStatusBar.h"
#include "platform/statusbar/StatusBarWindow.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/statusbar/StatusLine.h"
#include "platform/statusbar/tray/StatusNotifierAppletTray.h"
#include "platform/statusbar/tray/StatusNotifierTray.h"
#include "platform/statusbar/tray/StatusNotifierWatcherTracker.h"
#include "platform/x11/X11Desktop.h"

namespace vorelt {

// What is known of the desktop now; the tracker adds the tray's part.
StatusBarHostRule::Facts StatusBar::facts() const {
    StatusBarHostRule::Facts facts = facts_;
    if (tracker_) {
        facts.trayHasHost = tracker_->hostRegistered();
        facts.trayOwner = tracker_->owner();
    }
    return facts;
}

std::unique_ptr<StatusBarHost> StatusBar::hostAt(StatusBarHostRule::Place place) {
    if (StatusBarHostRule::titleHidden(facts(), place) && !adviceGiven_) {
        adviceGiven_ = true;
        std::fprintf(stderr, "%s\n", StatusBarHostRule::advice(Identity::current().name).c_str());
    }
    if (StatusBarHostRule::barOverWindows(facts(), place) && !noRoomTold_) {
        noRoomTold_ = true;
        std::fprintf(stderr, "%s\n",
                     StatusBarHostRule::noRoomForBar(Identity::current().name).c_str());
    }
    switch (place) {
        case StatusBarHostRule::Place::panelTray: {
            const StatusBarHostRule::Facts now = facts();
            return std::make_unique<StatusNotifierTray>(
                StatusBarHostRule::trayShowsLabels(now.trayOwner, now.currentDesktop),
                [this](const std::string& why) { trayRefused(why); });
        }
        case StatusBarHostRule::Place::ownBarOrApplet:
            return std::make_unique<StatusNotifierAppletTray>(
                [] { return std::make_unique<StatusBarWindow>(); },
                [this](const std::string& why) { trayRefused(why); });
        case StatusBarHostRule::Place::ownBar:
            return std::make_unique<StatusBarWindow>();
        case StatusBarHostRule::Place::nowhere:
            return std::make_unique<HiddenStatusBar>();
        default:
            return std::make_unique<StatusLine>(STDOUT_FILENO);
    }
}

// The tracker follows the panel's tray, and the rule says whether to use it.
std::unique_ptr<StatusBarHost> StatusBar::defaultHost() {
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
    facts_ = StatusBarHostRule::Facts{};
    facts_.requested = requested_;
    facts_.offscreenAskedFor = offscreenAskedFor_;
    facts_.display = WindowingSystem::hasDisplay();
    facts_.docksKeepTheirStrip = X11Desktop::docksKeepTheirStrip();
    facts_.currentDesktop = desktop.toStdString();
    if (!StatusBarHostRule::followsTray(facts_)) {
        return hostAt(StatusBarHostRule::place(facts_));
    }
    if (!tracker_) {
        tracker_ = std::make_unique<StatusNotifierWatcherTracker>(
            [this](bool tray) {
                // The tray's place, as the rule took it, knowing the tray's watcher and hosts.
                const auto place = StatusBarHostRule::place(tray ? facts() : facts_);
                return hostAt(!tray || StatusBarHostRule::usesTray(place)
                                  ? place
                                  : StatusBarHostRule::Place::panelTray);
            },
            [this](std::unique_ptr<StatusBarHost> host) { installHost(std::move(host)); },
            [this](bool hostRegistered, const std::string& owner) {
                StatusBarHostRule::Facts facts = facts_;
                facts.trayHasHost = hostRegistered;
                facts.trayOwner = owner;
                return StatusBarHostRule::usesTray(StatusBarHostRule::place(facts));
            });
    }
    return tracker_->currentHost();
}

void StatusBar::trayRefused(const std::string& why) {
    // A tray asked for by setHost stays: there is nowhere else to go.
    if (!tracker_) {
        return;
    }
    if (!refusalTold_) {
        refusalTold_ = true;
        const std::string owner = tracker_->owner().empty() ? "" : " (" + tracker_->owner() + ")";
        const bool ownBar = StatusBarHostRule::place(facts_) == StatusBarHostRule::Place::ownBar;
        std::fprintf(stderr, "%s: the panel's tray%s did not take the clock: %s.%s\n",
                     Identity::current().name.c_str(), owner.c_str(), why.c_str(),
                     ownBar ? " It shows in its own bar until a tray takes it." : "");
    }
    tracker_->trayRefused();
}

std::shared_ptr<StatusBar> StatusBar::systemStatusBar() {
    // Never destroyed, as its items may be held to the last; its host may be a window, which goes
    // with the toolkit.
    static const auto* bar = [] {
        qAddPostRoutine([] { systemStatusBar()->detachHost(); });
        return new std::shared_ptr<StatusBar>(new StatusBar);
    }();
    return *bar;
}

StatusBar::StatusBar() = default;

StatusBar::~StatusBar() = default;

std::shared_ptr<StatusItem> StatusBar::statusItemWithLength(double length) {
    auto item = StatusItem::make(std::static_pointer_cast<StatusBar>(shared_from_this()), length);
    items_.push_back(item);
    host().addItem(*item);
    return item;
}

void StatusBar::removeStatusItem(const std::shared_ptr<StatusItem>& item) {
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) {
        return;
    }
    host().removeItem(**it);
    items_.erase(it);
}

void StatusBar::request(StatusBarHostRule::Place place, bool offscreenAskedFor) {
    requested_ = place;
    offscreenAskedFor_ = offscreenAskedFor;
}

StatusBarHost& StatusBar::host() {
    if (!host_) {
        host_ = defaultHost();
    }
    return *host_;
}

void StatusBar::setHost(std::unique_ptr<StatusBarHost> host) {
    tracker_.reset();
    installHost(std::move(host));
}

void StatusBar::installHost(std::unique_ptr<StatusBarHost> host) {
    if (host_) {
        for (const auto& item : items_) {
            host_->removeItem(*item);
        }
    }
    host_ = std::move(host);
    for (const auto& item : items_) {
        host_->addItem(*item);
    }
}

void StatusBar::detachHost() {
    tracker_.reset();
    if (!host_) {
        return;
    }
    for (const auto& item : items_) {
        host_->removeItem(*item);
    }
    host_.reset();
}

}  // namespace vorelt
