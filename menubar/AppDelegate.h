#pragma once

#include <memory>

#include "menubar/Services.h"
#include "platform/app/Application.h"

namespace vorelt {

class CalendarPopoverViewController;
class DateFormatter;
class EventMonitor;
class Popover;
class StatusItem;
class StatusMenuController;
class Timer;
class UserDefaults;

// Owner of everything the clock in the status bar consists of, for the life of the process.
class AppDelegate : public ApplicationDelegate {
public:
    explicit AppDelegate(Services services = {});
    ~AppDelegate() override;

    // The session's services, handed on to the popover, the menu and the settings.
    const Services services;

    const std::shared_ptr<StatusItem> statusItem;
    const std::shared_ptr<Popover> popover;
    std::shared_ptr<CalendarPopoverViewController> calendarPopoverViewController;
    // The item's menu, where the panel's click opens a menu rather than the popover.
    std::shared_ptr<StatusMenuController> statusMenuController;
    std::shared_ptr<EventMonitor> eventMonitor;
    std::shared_ptr<Timer> timer;
    std::shared_ptr<DateFormatter> dateFormatter;
    const std::shared_ptr<UserDefaults> userDefaults;
    // Whether the last flashing tick blanked the title's colons. Flipped on every tick on which
    // flashing is on; never stored, and kept for the life of the process with its delegate.
    bool separatorHidden = false;

    void applicationDidFinishLaunching(Object* notification) override;
    void applicationWillTerminate(Object* notification) override;
    // One tick: the current moment in the stored pattern becomes the status item's title.
    void updateMenuTime();
    void terminate();
    // The status item's action: opens the popover, or closes it when it is open.
    void togglePopover(Object* sender);

    // Creates the title's formatter and the one-second timer.
    void setupMenuTime();
    void showPopover();
    void closePopover(Object* sender);

    Action actionForSelector(const Selector& selector) override;
};

}  // namespace vorelt
