#include "platform/ui/MenuItem.h"

#include "platform/foundation/ActionDispatcher.h"

namespace vorelt {

MenuItem::MenuItem(std::string title, Selector action)
    : title_(std::move(title)), action_(std::move(action)) {}

std::shared_ptr<MenuItem> MenuItem::separatorItem() {
    auto item = std::make_shared<MenuItem>(std::string(), Selector());
    item->separator_ = true;
    item->enabled_ = false;
    return item;
}

bool MenuItem::performAction() {
    if (separator_ || !enabled_ || action_.empty()) {
        return false;
    }
    return ActionDispatcher::send(action_, target_.lock().get(), this);
}

}  // namespace vorelt
