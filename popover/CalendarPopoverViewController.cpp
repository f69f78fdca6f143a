#include "popover/CalendarPopoverViewController.h"

#include <cstdio>

#include "menubar/AppDelegate.h"
#include "platform/app/Application.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/TextField.h"
#include "settings/SettingsWindowController.h"

namespace vorelt {

CalendarPopoverViewController::CalendarPopoverViewController(Services services)
    : CalendarPopoverViewController(std::string(), std::move(services)) {}

CalendarPopoverViewController::CalendarPopoverViewController(std::string nibName, Services services)
    : ViewController(std::move(nibName), "CalendarPopoverViewController"),
      dateFormatter(std::make_shared<DateFormatter>()),
      services_(std::move(services)) {}

void CalendarPopoverViewController::setOutlet(const std::string& name,
                                              const std::shared_ptr<View>& control) {
    if (name == "timeLabel") {
        setTimeLabel(std::dynamic_pointer_cast<TextField>(control));
    } else if (name == "datePicker") {
        setDatePicker(std::dynamic_pointer_cast<DatePicker>(control));
    } else if (name == "settingsButton") {
        setSettingsButton(std::dynamic_pointer_cast<Button>(control));
    } else if (name == "quitButton") {
        setQuitButton(std::dynamic_pointer_cast<Button>(control));
    }
}

void CalendarPopoverViewController::awakeFromNib() {
    ViewController::awakeFromNib();
    view()->setAutoresizingMask(View::NotSizable);
}

void CalendarPopoverViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    settingsButton()->setAction("settingsButtonSelected");
    quitButton()->setAction("terminate");
    dateFormatter->setDateStyle(DateFormatter::FullStyle);
    dateFormatter->setTimeStyle(DateFormatter::NoStyle);
}

void CalendarPopoverViewController::viewWillAppear() {
    ViewController::viewWillAppear();
    const Date today = services_.now();
    timeLabel()->setStringValue(dateFormatter->stringFromDate(today));
    datePicker()->setDateValue(today);
}

void CalendarPopoverViewController::settingsButtonSelected() {
    std::fputs("Settings selected\n", stdout);
    std::fflush(stdout);
    const auto delegate =
        std::dynamic_pointer_cast<AppDelegate>(Application::sharedApplication()->delegate());
    if (delegate) {
        delegate->closePopover(nullptr);
    }
    const auto settings = std::make_shared<SettingsWindowController>(services_);
    settings->showWindow(delegate.get());
}

Action CalendarPopoverViewController::actionForSelector(const Selector& selector) {
    if (selector == "settingsButtonSelected") {
        return [this](Object*) { settingsButtonSelected(); };
    }
    return ViewController::actionForSelector(selector);
}

}  // namespace vorelt
