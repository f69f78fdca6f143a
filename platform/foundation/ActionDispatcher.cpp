#include "platform/foundation/ActionDispatcher.h"

#include "platform/foundation/PlatformLog.h"
#include "platform/foundation/QtText.h"

namespace vorelt {

namespace {
ActionDispatcher* inUse = nullptr;
}  // namespace

ActionDispatcher::ActionDispatcher() {
    inUse = this;
}

ActionDispatcher::~ActionDispatcher() {
    if (inUse == this) {
        inUse = nullptr;
    }
}

bool ActionDispatcher::send(const Selector& action, Object* target, Object* sender) {
    if (inUse != nullptr) {
        return inUse->sendAction(action, target, sender);
    }
    if (const auto receiver = responderFor(action, target, sender)) {
        return receiver->performSelector(action, sender);
    }
    qCWarning(platformLog) << "the action" << qs(action) << "reaches no receiver";
    return false;
}

std::shared_ptr<Object> ActionDispatcher::responderFor(const Selector& action, Object* target,
                                                       Object* sender) {
    if (target != nullptr) {
        // Shared with its owners, so that the receiver handed out keeps it.
        return target->respondsToSelector(action) ? target->weak_from_this().lock() : nullptr;
    }
    for (auto responder = sender != nullptr ? sender->nextResponder() : nullptr; responder;
         responder = responder->nextResponder()) {
        if (responder->respondsToSelector(action)) {
            return responder;
        }
    }
    return nullptr;
}

void ActionDispatcher::terminateApplication() {
    if (inUse != nullptr) {
        inUse->terminate(nullptr);
    }
}

}  // namespace vorelt
