#include "platform/foundation/Object.h"

namespace vorelt {

Action Object::actionForSelector(const Selector&) {
    return {};
}

std::shared_ptr<Object> Object::nextResponder() {
    return nullptr;
}

bool Object::respondsToSelector(const Selector& selector) {
    return static_cast<bool>(actionForSelector(selector));
}

bool Object::performSelector(const Selector& selector, Object* sender) {
    Action action = actionForSelector(selector);
    if (!action) {
        return false;
    }
    action(sender);
    return true;
}

}  // namespace vorelt
