#pragma once

#include <memory>

#include "platform/foundation/Date.h"
#include "platform/ui/Menu.h"

namespace vorelt {

class CalendarPopoverViewController;
class DateFormatter;
class MenuItem;

// The status item's menu, for panels whose click opens the item's menu rather than the popover:
// today's date in full, which opens the popover, then the popover's Settings and Quit.
class StatusMenuController : public MenuDelegate {
public:
    StatusMenuController(const std::shared_ptr<CalendarPopoverViewController>& calendar, Clock now);

    const std::shared_ptr<Menu> menu;

    // Today's date, as the menu opens.
    void menuNeedsUpdate(Menu& menu) override;

private:
    const std::shared_ptr<DateFormatter> dateFormatter;
    std::shared_ptr<MenuItem> dateItem;
    const Clock now_;
};

}  // namespace vorelt
