#include "platform/statusbar/tray/StatusNotifierTray.h"

#include <algorithm>

#include "platform/statusbar/tray/StatusNotifierItem.h"

namespace vorelt {

StatusNotifierTray::StatusNotifierTray(bool panelShowsLabels, RefusalHandler refused)
    : panelShowsLabels_(panelShowsLabels), refused_(std::move(refused)) {}

StatusNotifierTray::~StatusNotifierTray() = default;

StatusNotifierItem* StatusNotifierTray::publishedItem(const StatusItem& item) const {
    const auto it = std::find_if(items_.begin(), items_.end(), [&item](const auto& published) {
        return &published->item() == &item;
    });
    return it == items_.end() ? nullptr : it->get();
}

void StatusNotifierTray::addItem(StatusItem& item) {
    if (publishedItem(item) != nullptr) {
        return;
    }
    auto published =
        std::make_unique<StatusNotifierItem>(item, panelShowsLabels_, [this](const QString& why) {
            if (refused_) {
                refused_(why.toStdString());
            }
        });
    if (appletChanged_) {
        published->setPassive(true);
        published->onAppletChange(appletChanged_);
    }
    items_.push_back(std::move(published));
}

void StatusNotifierTray::followApplet(std::function<void()> changed) {
    appletChanged_ = std::move(changed);
}

bool StatusNotifierTray::appletShows(const StatusItem& item) const {
    const StatusNotifierItem* published = publishedItem(item);
    return published != nullptr && published->appletShows();
}

std::optional<RectEdge> StatusNotifierTray::popoverEdgeOfItem(const StatusItem& item) const {
    const StatusNotifierItem* published = publishedItem(item);
    return published != nullptr ? published->popoverEdge() : std::nullopt;
}

void StatusNotifierTray::removeItem(StatusItem& item) {
    std::erase_if(items_, [&item](const auto& published) { return &published->item() == &item; });
}

void StatusNotifierTray::itemChanged(StatusItem& item) {
    if (StatusNotifierItem* published = publishedItem(item)) {
        published->refresh();
    }
}

Rect StatusNotifierTray::screenFrameOfItem(const StatusItem& item) const {
    const StatusNotifierItem* published = publishedItem(item);
    return published != nullptr ? published->screenFrame() : Rect{};
}

}  // namespace vorelt
