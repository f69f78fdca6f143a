#include "platform/statusbar/StatusBarButton.h"

#include "platform/foundation/ActionDispatcher.h"
#include "platform/statusbar/StatusItem.h"

namespace vorelt {

StatusBarButton::StatusBarButton(StatusItem& item) : item_(item) {}

void StatusBarButton::setTitle(std::string_view title) {
    if (title == title_) {
        return;
    }
    title_.assign(title);
    item_.buttonChanged();
}

void StatusBarButton::setAction(Selector action) {
    action_ = std::move(action);
}

void StatusBarButton::setTarget(const std::shared_ptr<Object>& target) {
    target_ = target;
}

Rect StatusBarButton::bounds() const {
    const Rect frame = frameOnScreen();
    return Rect{0.0, 0.0, frame.width, frame.height};
}

Rect StatusBarButton::frameOnScreen() const {
    return item_.frameOnScreen();
}

Popover::Anchor StatusBarButton::popoverAnchor() const {
    return Popover::Anchor{item_.frameOnScreen(), item_.popoverEdge()};
}

void StatusBarButton::performClick() {
    if (action_.empty()) {
        return;
    }
    ActionDispatcher::send(action_, target_.lock().get(), this);
}

}  // namespace vorelt
