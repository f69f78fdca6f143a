#include "platform/StatusBar.h"

#include <QGuiApplication>

#include <unistd.h>
#include <algorithm>

#include "platform/Application.h"
#include "platform/StatusBarWindow.h"
#include "platform/StatusItem.h"
#include "platform/StatusLine.h"
#include "platform/StatusNotifierWatcherTracker.h"

namespace vorelt {

namespace {
std::unique_ptr<StatusBarHost> ownHost() {
    const QString platform = QGuiApplication::platformName();
    if (platform.isEmpty() || platform == "offscreen" || platform == "minimal") {
        return std::make_unique<StatusLine>(STDOUT_FILENO);
    }
    return std::make_unique<StatusBarWindow>();
}
}  // namespace

// The panel's tray when the session has one, Vorelt's own bar otherwise; the tracker moves the
// items when that changes.
std::unique_ptr<StatusBarHost> StatusBar::defaultHost() {
    if (Application::standardOutputIsTheStatusBar()) {
        return std::make_unique<StatusLine>(STDOUT_FILENO);
    }
    if (!tracker_) {
        tracker_ = std::make_unique<StatusNotifierWatcherTracker>(
            ownHost, [this](std::unique_ptr<StatusBarHost> host) { installHost(std::move(host)); });
    }
    return tracker_->currentHost();
}

std::shared_ptr<StatusBar> StatusBar::systemStatusBar() {
    static const auto bar = std::make_shared<StatusBar>();
    return bar;
}

StatusBar::StatusBar() = default;

StatusBar::~StatusBar() = default;

std::shared_ptr<StatusItem> StatusBar::statusItemWithLength(double length) {
    auto item = std::make_shared<StatusItem>(*this, length);
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
