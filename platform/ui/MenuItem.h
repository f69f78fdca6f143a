#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Object.h"

namespace vorelt {

// One entry of a menu, exported as a com.canonical.dbusmenu entry.
// A title and the action that choosing it sends, or a separator line.
class MenuItem : public Object {
public:
    MenuItem(std::string title, Selector action);
    static std::shared_ptr<MenuItem> separatorItem();

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const Selector& action() const { return action_; }
    // With no target, the action goes along the responder chain to the application's delegate.
    void setTarget(const std::shared_ptr<Object>& target) { target_ = target; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isSeparatorItem() const { return separator_; }

    // Sends the action, as choosing the entry does; false when nobody answered it.
    bool performAction();

private:
    std::string title_;
    Selector action_;
    std::weak_ptr<Object> target_;
    bool enabled_ = true;
    bool separator_ = false;
};

}  // namespace vorelt
