#include "menubar/AppDelegate.h"

#include "popover/CalendarPopoverViewController.h"

#include <algorithm>
#include <string>

#include "menubar/EventMonitor.h"
#include "menubar/StatusMenuController.h"
#include "model/DateFormatSettingsFields.h"
#include "model/Identifiers.h"
#include "model/Preferences.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/ui/Event.h"
#include "platform/ui/Popover.h"

namespace vorelt {

namespace {
constexpr double kTickInterval = 1.0;
constexpr double kTickTolerance = 0.25;
// Left and right mouse-down.
constexpr Event::Mask kOutsideClickMask = Event::LeftMouseDownMask | Event::RightMouseDownMask;
static_assert(kOutsideClickMask == 10);

std::string storedPattern(UserDefaults& store) {
    return store.stringForKey(Preferences::dateFormatKey)
        .value_or(std::string(Preferences::defaultDateFormat));
}
}  // namespace

AppDelegate::AppDelegate(Services services)
    : services(std::move(services)),
      statusItem(
          StatusBar::systemStatusBar()->statusItemWithLength(StatusBar::VariableStatusItemLength)),
      popover(std::make_shared<Popover>()),
      userDefaults(UserDefaults::standardUserDefaults()) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(Object*) {
    services.enableLoginItem(launcherLoginItem());
    if (const auto button = statusItem->button()) {
        button->setTitle("Time");
        button->setAction("togglePopover:");
    }
    setupMenuTime();
    calendarPopoverViewController = std::make_shared<CalendarPopoverViewController>(services);
    popover->setContentViewController(calendarPopoverViewController);
    statusMenuController =
        std::make_shared<StatusMenuController>(calendarPopoverViewController, services.now);
    statusMenuController->menu->setDelegate(statusMenuController);
    statusItem->setMenu(statusMenuController->menu);
    const std::weak_ptr<AppDelegate> weakSelf =
        std::static_pointer_cast<AppDelegate>(shared_from_this());
    auto outsideClick = [weakSelf](const std::shared_ptr<Event>& event) {
        {
            const auto strongSelf = weakSelf.lock();
            if (!strongSelf || !strongSelf->popover->isShown()) {
                return;
            }
        }
        if (const auto strongSelf = weakSelf.lock()) {
            strongSelf->closePopover(event.get());
        }
    };
    eventMonitor = std::make_shared<EventMonitor>(kOutsideClickMask, std::move(outsideClick));
    updateMenuTime();
}

void AppDelegate::applicationWillTerminate(Object*) {
    if (timer) {
        timer->invalidate();
    }
}

void AppDelegate::setupMenuTime() {
    dateFormatter = std::make_shared<DateFormatter>();
    dateFormatter->setDateFormat(storedPattern(*userDefaults));
    timer = Timer::scheduledTimerWithTimeInterval(kTickInterval, shared_from_this(),
                                                  "updateMenuTime", services.now);
    if (timer) {
        timer->setTolerance(kTickTolerance);
    }
}

void AppDelegate::updateMenuTime() {
    const auto button = statusItem->button();
    if (!button) {
        return;
    }
    const Date now = services.now();
    dateFormatter->setDateFormat(storedPattern(*userDefaults));
    std::string text = dateFormatter->stringFromDate(now);
    if (userDefaults->boolForKey(
            DateFormatSettingsFields(DateFormatSettingsFields::shouldFlashSeparator).rawValue())) {
        const bool wasHidden = separatorHidden;
        separatorHidden = !separatorHidden;
        if (!wasHidden) {
            std::replace(text.begin(), text.end(), ':', ' ');
        }
    }
    button->setTitle(text);
}

void AppDelegate::togglePopover(Object* sender) {
    if (popover->isShown()) {
        closePopover(sender);
    } else {
        showPopover();
    }
}

void AppDelegate::showPopover() {
    const auto button = statusItem->button();
    if (!button) {
        return;
    }
    popover->showRelativeToRect(button->bounds(), button->popoverAnchor(), RectEdge::MinY);
    if (eventMonitor) {
        eventMonitor->start();
    }
}

void AppDelegate::closePopover(Object* sender) {
    popover->performClose(sender);
    if (eventMonitor) {
        eventMonitor->stop();
    }
}

void AppDelegate::terminate() {
    Application::sharedApplication()->terminate(this);
}

Action AppDelegate::actionForSelector(const Selector& selector) {
    if (selector == "updateMenuTime") {
        return [this](Object*) { updateMenuTime(); };
    }
    if (selector == "togglePopover:") {
        return [this](Object* sender) { togglePopover(sender); };
    }
    // The date in the item's menu.
    if (selector == "showPopover:") {
        return [this](Object*) { showPopover(); };
    }
    // Escape in the popover.
    if (selector == "closePopover:") {
        return [this](Object* sender) { closePopover(sender); };
    }
    if (selector == "terminate") {
        return [this](Object*) { terminate(); };
    }
    return ApplicationDelegate::actionForSelector(selector);
}

}  // namespace vorelt
