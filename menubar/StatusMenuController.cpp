#include "menubar/StatusMenuController.h"

#include "platform/app/Bundle.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/ui/MenuItem.h"
#include "popover/CalendarPopoverViewController.h"

namespace vorelt {

StatusMenuController::StatusMenuController(
    const std::shared_ptr<CalendarPopoverViewController>& calendar, Clock now)
    : menu(std::make_shared<Menu>()),
      dateFormatter(std::make_shared<DateFormatter>()),
      now_(std::move(now)) {
    dateFormatter->setDateStyle(DateFormatter::FullStyle);
    dateFormatter->setTimeStyle(DateFormatter::NoStyle);
    // The popover's own buttons' words, in the popover's translations.
    dateItem = std::make_shared<MenuItem>(dateFormatter->stringFromDate(now_()), "showPopover:");
    auto settings = std::make_shared<MenuItem>(
        Bundle::localizedString("CalendarPopoverViewController", "Settings"),
        "settingsButtonSelected");
    settings->setTarget(calendar);
    menu->addItem(dateItem);
    menu->addItem(MenuItem::separatorItem());
    menu->addItem(settings);
    menu->addItem(std::make_shared<MenuItem>(
        Bundle::localizedString("CalendarPopoverViewController", "Quit"), "terminate"));
}

void StatusMenuController::menuNeedsUpdate(Menu&) {
    dateItem->setTitle(dateFormatter->stringFromDate(now_()));
}

}  // namespace vorelt
