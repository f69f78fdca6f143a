#include "popover/CalendarPopoverViewController.h"

#include <cstdio>
#include <string>

#include "model/DateFormatSettingsFields.h"
#include "model/Preferences.h"
#include "model/WorldClockList.h"

#include "menubar/AppDelegate.h"
#include "platform/app/Application.h"
#include "platform/app/Bundle.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/PlaceTimeFormatter.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/WorldTimeZone.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"
#include "settings/SettingsWindowController.h"

namespace vorelt {

namespace {

// "%1 h" with the signed hours in it.
std::string offsetText(const PlaceTimeFormatter& formatter, int minutes) {
    // The signed hours, then the unit.
    std::string text = Bundle::localizedString("CalendarPopoverViewController", "%1 h");
    if (const auto at = text.find("%1"); at != std::string::npos) {
        text.replace(at, 2, formatter.hoursString(minutes));
    }
    return text;
}

}  // namespace

CalendarPopoverViewController::CalendarPopoverViewController(Services services)
    : CalendarPopoverViewController(std::string(), std::move(services)) {}

CalendarPopoverViewController::CalendarPopoverViewController(std::string nibName, Services services)
    : ViewController(std::move(nibName), "CalendarPopoverViewController"),
      dateFormatter(std::make_shared<DateFormatter>()),
      services_(std::move(services)),
      userDefaults_(UserDefaults::standardUserDefaults()) {}

CalendarPopoverViewController::~CalendarPopoverViewController() {
    if (worldClockTimer_) {
        worldClockTimer_->invalidate();
    }
}

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
    } else if (name == "worldClocksTable") {
        worldClocksTable_ = std::dynamic_pointer_cast<TableView>(control);
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
    datePicker()->setShowsWeekNumbers(
        userDefaults_->boolForKey(Preferences::shouldShowWeekNumbersKey));
    updateWorldClocks();
    if (!worldClockRows_.empty() && !worldClockTimerRunning_) {
        worldClockTimer_ = Timer::scheduledTimerWithTimeInterval(1.0, shared_from_this(),
                                                                 "worldClockTick", services_.now);
        worldClockTimerRunning_ = true;
    }
}

void CalendarPopoverViewController::updateWorldClocks() {
    const auto table = worldClocksTable();
    if (!table) {
        return;
    }
    const auto zones = WorldClockList::parse(
        userDefaults_->stringForKey(WorldClockList::key).value_or(std::string()),
        WorldTimeZone::isKnown);
    // The hours of the title's own clock, where the person chose them.
    const int hours =
        userDefaults_->boolForKey(
            DateFormatSettingsFields(DateFormatSettingsFields::shouldUse24Hour).rawValue())
            ? PlaceTimeFormatter::TwentyFourHours
        : userDefaults_->boolForKey(
              DateFormatSettingsFields(DateFormatSettingsFields::shouldUseAMPM).rawValue())
            ? PlaceTimeFormatter::TwelveHours
            : PlaceTimeFormatter::LocaleHours;
    if (!placeTimeFormatter_ || hours != placeHours_) {
        placeTimeFormatter_ =
            std::make_unique<PlaceTimeFormatter>(static_cast<PlaceTimeFormatter::HourCycle>(hours));
        placeHours_ = hours;
    }
    const Date now = services_.now();
    const int localOffset = WorldTimeZone::systemOffsetFromUTC(now);
    std::vector<std::vector<std::string>> rows;
    for (const auto& zone : zones) {
        const int offset = WorldTimeZone::offsetFromUTC(zone, now);
        const int days =
            WorldClockList::dayDifference(now.timeIntervalSince1970(), localOffset, offset);
        rows.push_back(
            {WorldTimeZone::cityName(zone), placeTimeFormatter_->timeString(now, zone),
             days > 0   ? Bundle::localizedString("CalendarPopoverViewController", "tomorrow")
             : days < 0 ? Bundle::localizedString("CalendarPopoverViewController", "yesterday")
                        : std::string(),
             offsetText(*placeTimeFormatter_, (offset - localOffset) / 60)});
    }
    if (rows != worldClockRows_ || table->numberOfRows() != static_cast<int>(rows.size())) {
        worldClockRows_ = std::move(rows);
        table->setRows(worldClockRows_);
    }
    table->setHidden(worldClockRows_.empty());
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
    if (selector == "worldClockTick") {
        return [this](Object*) {
            // The timer runs only while the popover is shown.
            const auto table = worldClocksTable();
            if (!table || !table->isOnScreen()) {
                if (worldClockTimer_) {
                    worldClockTimer_->invalidate();
                }
                worldClockTimerRunning_ = false;
                return;
            }
            updateWorldClocks();
        };
    }
    return ViewController::actionForSelector(selector);
}

}  // namespace vorelt
