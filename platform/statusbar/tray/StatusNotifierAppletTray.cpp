#include "platform/statusbar/tray/StatusNotifierAppletTray.h"

#include <algorithm>

namespace vorelt {

StatusNotifierAppletTray::StatusNotifierAppletTray(BarFactory makeBar,
                                                   StatusNotifierTray::RefusalHandler refused)
    : tray_(false, std::move(refused)), makeBar_(std::move(makeBar)), bar_(makeBar_()) {
    tray_.followApplet([this] { followApplet(); });
}

StatusNotifierAppletTray::~StatusNotifierAppletTray() = default;

void StatusNotifierAppletTray::addItem(StatusItem& item) {
    items_.push_back(&item);
    tray_.addItem(item);
    if (bar_) {
        bar_->addItem(item);
    }
}

void StatusNotifierAppletTray::removeItem(StatusItem& item) {
    std::erase(items_, &item);
    if (bar_) {
        bar_->removeItem(item);
    }
    tray_.removeItem(item);
}

void StatusNotifierAppletTray::itemChanged(StatusItem& item) {
    tray_.itemChanged(item);
    if (bar_) {
        bar_->itemChanged(item);
    }
}

Rect StatusNotifierAppletTray::screenFrameOfItem(const StatusItem& item) const {
    return bar_ ? bar_->screenFrameOfItem(item) : tray_.screenFrameOfItem(item);
}

std::optional<RectEdge> StatusNotifierAppletTray::popoverEdgeOfItem(const StatusItem& item) const {
    return bar_ ? std::nullopt : tray_.popoverEdgeOfItem(item);
}

void StatusNotifierAppletTray::followApplet() {
    const bool applet = std::any_of(items_.begin(), items_.end(), [this](const StatusItem* item) {
        return tray_.appletShows(*item);
    });
    if (applet && bar_) {
        for (StatusItem* item : items_) {
            bar_->removeItem(*item);
        }
        bar_.reset();
    } else if (!applet && !bar_) {
        bar_ = makeBar_();
        for (StatusItem* item : items_) {
            bar_->addItem(*item);
        }
    }
}

}  // namespace vorelt
