#include "platform/statusbar/StatusItem.h"

#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/ui/Menu.h"

namespace vorelt {

std::shared_ptr<StatusItem> StatusItem::make(const std::shared_ptr<StatusBar>& bar, double length) {
    auto item = std::make_shared<StatusItem>(bar, length);
    item->button_ = std::make_shared<StatusBarButton>(item);
    return item;
}

StatusItem::StatusItem(std::weak_ptr<StatusBar> bar, double length)
    : bar_(std::move(bar)), length_(length) {}

StatusItem::~StatusItem() = default;

void StatusItem::setMenu(std::shared_ptr<Menu> menu) {
    menu_ = std::move(menu);
    buttonChanged();
}

void StatusItem::setLength(double length) {
    length_ = length;
    buttonChanged();
}

Rect StatusItem::frameOnScreen() const {
    const auto bar = bar_.lock();
    return bar ? bar->host().screenFrameOfItem(*this) : Rect{};
}

std::optional<RectEdge> StatusItem::popoverEdge() const {
    const auto bar = bar_.lock();
    return bar ? bar->host().popoverEdgeOfItem(*this) : std::nullopt;
}

void StatusItem::buttonChanged() {
    if (const auto bar = bar_.lock()) {
        bar->host().itemChanged(*this);
    }
}

}  // namespace vorelt
