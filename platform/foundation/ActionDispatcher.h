#pragma once

#include "platform/foundation/Object.h"

namespace vorelt {

// The program's own routing of actions by name, in plain C++ rather than Qt's signals.
// Where the actions of controls, menu items and status items go, and who ends the program: the
// application, which hands itself in for as long as it exists, so that the rooms below it need
// not know it. Without one an action goes to its target or along its sender's responders only.
class ActionDispatcher {
public:
    ActionDispatcher(const ActionDispatcher&) = delete;
    ActionDispatcher& operator=(const ActionDispatcher&) = delete;

    // Sends `action` to `target`, or with none along the responder chain; false when nobody
    // answered.
    virtual bool sendAction(const Selector& action, Object* target, Object* sender) = 0;
    virtual void terminate(Object* sender) = 0;

    // Through the application where there is one.
    static bool send(const Selector& action, Object* target, Object* sender);
    // The target when it answers `action`, else without a target the first of the sender's
    // responders that does; none when neither does.
    static std::shared_ptr<Object> responderFor(const Selector& action, Object* target,
                                                Object* sender);
    static void terminateApplication();

protected:
    // The newest dispatcher is the one in use until it ends.
    ActionDispatcher();
    virtual ~ActionDispatcher();
};

}  // namespace vorelt
