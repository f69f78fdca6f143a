#pragma once

#include <memory>
#include <optional>

#include "platform/foundation/Geometry.h"
#include "platform/foundation/Object.h"

namespace vorelt {

class Menu;
class StatusBar;
class StatusBarButton;

// One item of the status bar, shown by the host: a bar widget, a tray item or an output line.
// A length of -1 means variable: the width follows the title. It does not keep its bar: with the
// bar gone it shows nowhere.
class StatusItem : public Object {
public:
    // A new item of `bar`, with its button.
    static std::shared_ptr<StatusItem> make(const std::shared_ptr<StatusBar>& bar, double length);
    StatusItem(std::weak_ptr<StatusBar> bar, double length);
    ~StatusItem() override;

    // The item's button, or none.
    std::shared_ptr<StatusBarButton> button() const { return button_; }

    // The menu of a host whose click opens the item's menu in place of clicking its button, as
    // some panels' trays do; in the bar of its own a click always goes to the button.
    std::shared_ptr<Menu> menu() const { return menu_; }
    void setMenu(std::shared_ptr<Menu> menu);

    double length() const { return length_; }
    void setLength(double length);

    Rect frameOnScreen() const;
    // The side of the item its host opens a popover on, if it knows.
    std::optional<RectEdge> popoverEdge() const;
    // Called by the button when what it shows changes.
    void buttonChanged();

private:
    std::weak_ptr<StatusBar> bar_;
    double length_;
    std::shared_ptr<StatusBarButton> button_;
    std::shared_ptr<Menu> menu_;
};

}  // namespace vorelt
