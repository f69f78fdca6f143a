#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Geometry.h"
#include "platform/foundation/Object.h"
#include "platform/ui/Popover.h"

namespace vorelt {

class StatusItem;

// A status item's title and click action, plain data that each host shows in its own way.
// The clickable part of a status item: its title and the action a click sends. It does not keep
// its item: with the item gone it shows nowhere.
class StatusBarButton : public Object {
public:
    explicit StatusBarButton(std::weak_ptr<StatusItem> item);

    void setTitle(std::string_view title);
    const std::string& title() const { return title_; }

    // The action goes to the application's chain of responders.
    void setAction(Selector action);
    const Selector& action() const { return action_; }

    // The button's rectangle in its own coordinates.
    Rect bounds() const;
    // The button's rectangle on screen, as the host shows it.
    Rect frameOnScreen() const;
    // What a popover opens against: the button on screen, and the side where the host knows.
    Popover::Anchor popoverAnchor() const;

    // What a click does: sends the action.
    void performClick();

private:
    std::weak_ptr<StatusItem> item_;
    std::string title_;
    Selector action_;
};

}  // namespace vorelt
