#include "platform/statusbar/StatusBarButton.h"

#include "platform/foundation/ActionDispatcher.h"
#include "platform/statusbar/StatusItem.h"

namespace vorelt {

StatusBarButton::StatusBarButton(std::weak_ptr<StatusItem> item) : item_(std::move(item)) {}

void StatusBarButton::setTitle(std::string_view title) {
    if (title == title_) {
        return;
    }
    title_.assign(title);
    if (const auto item = item_.lock()) {
        item->buttonChanged();
    }
}

void StatusBarButton::setAction(Selector action) {
    action_ = std::move(action);
}

Rect StatusBarButton::bounds() const {
    const Rect frame = frameOnScreen();
    return Rect{0.0, 0.0, frame.width, frame.height};
}

Rect StatusBarButton::frameOnScreen() const {
    const auto item = item_.lock();
    return item ? item->frameOnScreen() : Rect{};
}

Popover::Anchor StatusBarButton::popoverAnchor() const {
    const auto item = item_.lock();
    return item ? Popover::Anchor{item->frameOnScreen(), item->popoverEdge()} : Popover::Anchor{};
}

void StatusBarButton::performClick() {
    if (action_.empty()) {
        return;
    }
    ActionDispatcher::send(action_, nullptr, this);
}

}  // namespace vorelt
