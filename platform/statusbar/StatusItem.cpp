#include "platform/statusbar/StatusItem.h"

#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/ui/Menu.h"

namespace vorelt {

StatusItem::StatusItem(StatusBar& bar, double length)
    : bar_(bar), length_(length), button_(std::make_shared<StatusBarButton>(*this)) {}

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
    return bar_.host().screenFrameOfItem(*this);
}

std::optional<RectEdge> StatusItem::popoverEdge() const {
    return bar_.host().popoverEdgeOfItem(*this);
}

void StatusItem::buttonChanged() {
    bar_.host().itemChanged(*this);
}

}  // namespace vorelt
