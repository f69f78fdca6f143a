#include "platform/StatusBar.h"

#include <QGuiApplication>

#include <unistd.h>
#include <algorithm>

#include "platform/StatusBarWindow.h"
#include "platform/StatusItem.h"
#include "platform/StatusLine.h"

namespace vorelt {

namespace {
std::unique_ptr<StatusBarHost> defaultHost() {
    const QString platform = QGuiApplication::platformName();
    if (platform.isEmpty() || platform == "offscreen" || platform == "minimal") {
        return std::make_unique<StatusLine>(STDOUT_FILENO);
    }
    return std::make_unique<StatusBarWindow>();
}
}  // namespace

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
    if (!host_) {
        return;
    }
    for (const auto& item : items_) {
        host_->removeItem(*item);
    }
    host_.reset();
}

}  // namespace vorelt
