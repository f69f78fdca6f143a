#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vorelt {

// Actions are named: a control or timer holds the name of the action, and the receiver looks it
// up at the moment it is sent, so that an action without a target can go along the responder
// chain to whoever answers it.
using Selector = std::string;

class Object;
using Action = std::function<void(Object* sender)>;

// The program's own object root in plain C++ (shared_ptr, not QObject).
// Root of every object that can receive actions by name.
class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() = default;

    // The action this object runs for `selector`, or an empty function when it has none.
    virtual Action actionForSelector(const Selector& selector);

    // Where an action that this object does not answer goes next; none by default.
    virtual std::shared_ptr<Object> nextResponder();

    bool respondsToSelector(const Selector& selector);
    // Runs the action; false when this object does not answer `selector`.
    bool performSelector(const Selector& selector, Object* sender = nullptr);
};

}  // namespace vorelt
