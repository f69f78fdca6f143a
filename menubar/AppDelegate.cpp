#include "menubar/AppDelegate.h"

#include <algorithm>
#include <string>

#include "model/DateFormatSettingsFields.h"
#include "model/Preferences.h"
#include "platform/DateFormatter.h"
#include "platform/Popover.h"
#include "platform/StatusBar.h"
#include "platform/StatusBarButton.h"
#include "platform/StatusItem.h"
#include "platform/Timer.h"
#include "platform/UserDefaults.h"

namespace vorelt {

bool separatorHidden = false;

namespace {
constexpr double kTickInterval = 1.0;
constexpr double kTickTolerance = 0.25;

std::string storedPattern(UserDefaults& store) {
    return store.stringForKey(Preferences::dateFormatKey)
        .value_or(std::string(Preferences::defaultDateFormat));
}
}  // namespace

AppDelegate::AppDelegate()
    : statusItem(
          StatusBar::systemStatusBar()->statusItemWithLength(StatusBar::VariableStatusItemLength)),
      popover(std::make_shared<Popover>()),
      userDefaults(UserDefaults::standardUserDefaults()) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching(Object*) {
    if (const auto button = statusItem->button()) {
        button->setTitle("Time");
        button->setAction("togglePopover:");
    }
    setupMenuTime();
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
                                                  "updateMenuTime", nullptr, true);
    if (timer) {
        timer->setTolerance(kTickTolerance);
    }
}

void AppDelegate::updateMenuTime() {
    const auto button = statusItem->button();
    if (!button) {
        return;
    }
    const Date now = Date::now();
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

void AppDelegate::terminate() {
    Application::sharedApplication()->terminate(this);
}

Action AppDelegate::actionForSelector(const Selector& selector) {
    if (selector == "updateMenuTime") {
        return [this](Object*) { updateMenuTime(); };
    }
    if (selector == "terminate") {
        return [this](Object*) { terminate(); };
    }
    return ApplicationDelegate::actionForSelector(selector);
}

}  // namespace vorelt
