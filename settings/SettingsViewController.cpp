#include "settings/SettingsViewController.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "model/Identifiers.h"
#include "model/Preferences.h"
#include "model/WorldClockList.h"
#include "model/composeDateFormat.h"
#include "platform/app/Bundle.h"
#include "platform/app/DesktopSettings.h"
#include "platform/app/ServiceManagement.h"
#include "platform/app/Workspace.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/foundation/WorldTimeZone.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextField.h"

namespace vorelt {

namespace {

using Field = DateFormatSettingsFields;

// Opens the desktop's own date and time settings, where it has them.
constexpr std::string_view dateTimePreferencesURL = DesktopSettings::dateTimeURL;

bool isOn(const std::shared_ptr<Button>& checkbox) {
    return checkbox && checkbox->state() == Button::OnState;
}

void setEnabled(const std::shared_ptr<Control>& control, bool enabled) {
    if (control) {
        control->setEnabled(enabled);
    }
}

}  // namespace

SettingsViewController::SettingsViewController(Services services)
    : SettingsViewController(std::string(), std::move(services)) {}

SettingsViewController::SettingsViewController(std::string nibName, Services services)
    : ViewController(std::move(nibName), "SettingsViewController"),
      dateFormatter(std::make_shared<DateFormatter>()),
      userDefaults(UserDefaults::standardUserDefaults()),
      services_(std::move(services)) {}

SettingsViewController::~SettingsViewController() {
    if (storeObserver_ != 0) {
        userDefaults->removeObserver(storeObserver_);
    }
}

const std::array<std::string_view, DateFormatSettingsFields::count>
    SettingsViewController::optionOutletNames = {
        "shouldShowDayOfWeekButton", "shouldShowDateButton",     "shouldShowYearButton",
        "shouldShowSecondsButton",   "shouldShowTimezoneButton", "shouldFlashSeparatorButton",
        "shouldUseAMPMButton",       "shouldUse24HourButton",    "shouldUseCustomDateButton",
};

void SettingsViewController::setOutlet(const std::string& name,
                                       const std::shared_ptr<View>& control) {
    const auto button = std::dynamic_pointer_cast<Button>(control);
    const auto field = std::dynamic_pointer_cast<TextField>(control);
    for (const Field option : Field::allCases()) {
        if (name == optionOutletNames[option.ordinal()]) {
            optionButtons_[option.ordinal()] = button;
            return;
        }
    }
    if (name == "launchAutomaticallyButton") {
        launchAutomaticallyButton_ = button;
    } else if (name == "dateFormatTextField") {
        dateFormatTextField_ = field;
    } else if (name == "dateFormatLabel") {
        dateFormatLabel_ = field;
    } else if (name == "saveStatusLabel") {
        saveStatusLabel_ = field;
    } else if (name == "shouldShowWeekNumbersButton") {
        shouldShowWeekNumbersButton_ = button;
    } else if (name == "placeSearchField") {
        placeSearchField_ = field;
    } else if (name == "placesTable") {
        placesTable_ = std::dynamic_pointer_cast<TableView>(control);
    } else if (name == "worldClocksTable") {
        worldClocksTable_ = std::dynamic_pointer_cast<TableView>(control);
    }
}

void SettingsViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    Preferences::seedShouldAutoLaunch(*userDefaults);
    const bool launchSetting = userDefaults->boolForKey(Preferences::shouldAutoLaunchKey);
    if (const auto checkbox = launchAutomaticallyButton()) {
        checkbox->setState(launchSetting ? Button::OnState : Button::OffState);
    }
    reconcileLoginItem(launchSetting);
    for (const auto& field : {dateFormatTextField(), placeSearchField()}) {
        if (field) {
            field->setDelegate(std::dynamic_pointer_cast<TextFieldDelegate>(shared_from_this()));
        }
    }
    loadDateFormatSettings();
    showStoredCalendarSettings();
    showPlacesFound();
    updateEnabledControls();
    updateDateFormat();
    readyForSaving = true;
    showSaveStatus();
    // Another settings window, or a hand edit, may change the store while this one is open.
    const std::weak_ptr<SettingsViewController> weak =
        std::static_pointer_cast<SettingsViewController>(shared_from_this());
    storeObserver_ = userDefaults->addObserver([weak] {
        if (const auto self = weak.lock()) {
            self->syncWithStore(nullptr);
        }
    });
}

void SettingsViewController::loadDateFormatSettings() {
    Preferences::seedDateFormatOptions(*userDefaults);
    showStoredOptions(nullptr);
    dateFormat = userDefaults->stringForKey(Preferences::dateFormatKey)
                     .value_or(std::string(Preferences::defaultDateFormat));
    applyDateFormat();
}

void SettingsViewController::updateEnabledControls() {
    const bool custom = isOn(shouldUseCustomDateButton());
    for (const Field field :
         {Field::shouldShowDayOfWeek, Field::shouldShowDate, Field::shouldShowYear,
          Field::shouldShowSeconds, Field::shouldShowTimezone, Field::shouldUseAMPM,
          Field::shouldUse24Hour}) {
        setEnabled(buttonFor(field), !custom);
    }
    setEnabled(dateFormatTextField(), custom);
}

std::unordered_set<DateFormatSettingsFields> SettingsViewController::optionsShown() const {
    std::unordered_set<Field> on;
    for (const Field field : Field::allCases()) {
        if (isOn(buttonFor(field))) {
            on.insert(field);
        }
    }
    return on;
}

void SettingsViewController::updateDateFormat() {
    const auto on = optionsShown();
    if (readyForSaving) {
        for (const Field field : Field::allCases()) {
            userDefaults->setBool(on.contains(field), field.rawValue());
        }
    }
    const auto field = dateFormatTextField();
    dateFormat = composeDateFormat(on, field ? field->stringValue() : std::string());
    applyDateFormat();
}

void SettingsViewController::applyDateFormat() {
    if (readyForSaving) {
        userDefaults->setObject(dateFormat, Preferences::dateFormatKey);
    }
    const auto label = dateFormatLabel();
    if (!label) {
        return;
    }
    if (const auto field = dateFormatTextField()) {
        field->setStringValue(dateFormat);
    }
    dateFormatter->setDateFormat(dateFormat);
    label->setStringValue(dateFormatter->stringFromDate(services_.now()));
}

void SettingsViewController::syncWithStore(const Object* acting) {
    if (!readyForSaving) {
        return;
    }
    showStoredOptions(acting);
    if (const auto checkbox = launchAutomaticallyButton(); checkbox && checkbox.get() != acting) {
        checkbox->setState(userDefaults->boolForKey(Preferences::shouldAutoLaunchKey)
                               ? Button::OnState
                               : Button::OffState);
    }
    updateEnabledControls();
    showStoredCalendarSettings();
    const auto field = dateFormatTextField();
    if (field && field.get() != acting) {
        // The pattern a new view would show: the stored one in custom mode, else the composed one.
        // The store decides which: a Custom box being ticked keeps the pattern it was showing.
        auto on = optionsShown();
        on.erase(Field::shouldUseCustomFormat);
        const std::string pattern =
            userDefaults->boolForKey(Field(Field::shouldUseCustomFormat).rawValue())
                ? userDefaults->stringForKey(Preferences::dateFormatKey)
                      .value_or(std::string(Preferences::defaultDateFormat))
                : composeDateFormat(on, {});
        if (pattern != dateFormat) {
            showPattern(pattern);
        }
    }
    showSaveStatus();
}

void SettingsViewController::showStoredOptions(const Object* acting) {
    const auto amPm = shouldUseAMPMButton();
    const auto twentyFourHour = shouldUse24HourButton();
    for (const Field field : Field::allCases()) {
        const auto checkbox = buttonFor(field);
        if (checkbox && checkbox.get() != acting && checkbox != amPm &&
            checkbox != twentyFourHour) {
            checkbox->setState(userDefaults->boolForKey(field.rawValue()) ? Button::OnState
                                                                          : Button::OffState);
        }
    }
    // The choice the person is making stands; otherwise the pair shows what is stored.
    if (acting == nullptr || (acting != amPm.get() && acting != twentyFourHour.get())) {
        showHourPair(userDefaults->boolForKey(Field(Field::shouldUseAMPM).rawValue()));
    }
}

void SettingsViewController::showHourPair(bool amPm) {
    const auto chosen = amPm ? shouldUseAMPMButton() : shouldUse24HourButton();
    const auto other = amPm ? shouldUse24HourButton() : shouldUseAMPMButton();
    // The chosen one first: a radio button cannot be turned off while it is the chosen one.
    if (chosen && other) {
        chosen->setState(Button::OnState);
        other->setState(Button::OffState);
    }
}

void SettingsViewController::showPattern(const std::string& pattern) {
    const bool ready = readyForSaving;
    readyForSaving = false;
    dateFormat = pattern;
    applyDateFormat();
    readyForSaving = ready;
}

void SettingsViewController::showSaveStatus() {
    const auto label = saveStatusLabel();
    if (!label) {
        return;
    }
    std::vector<std::string> lines;
    if (!userDefaults->canSave()) {
        const std::string folder = std::filesystem::path(userDefaults->path()).parent_path();
        std::string line =
            Bundle::localizedString("SettingsViewController", "Settings can't be saved in %1.");
        if (const auto at = line.find("%1"); at != std::string::npos) {
            line.replace(at, 2, folder);
        }
        lines.push_back(std::move(line));
    }
    if (loginItemFailed_ && userDefaults->boolForKey(Preferences::shouldAutoLaunchKey)) {
        lines.push_back(Bundle::localizedString(
            "SettingsViewController",
            "Launch at login can't work here: vorelt-launcher is not installed."));
    }
    std::string text;
    for (const auto& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    label->setStringValue(text);
    label->setHidden(lines.empty());
}

void SettingsViewController::turnLoginItemOn() {
    loginItemFailed_ = !services_.enableLoginItem(launcherLoginItem());
}

void SettingsViewController::showStoredCalendarSettings() {
    if (const auto checkbox = shouldShowWeekNumbersButton()) {
        checkbox->setState(userDefaults->boolForKey(Preferences::shouldShowWeekNumbersKey)
                               ? Button::OnState
                               : Button::OffState);
    }
    worldClocks_ = WorldClockList::parse(
        userDefaults->stringForKey(WorldClockList::key).value_or(std::string()),
        WorldTimeZone::isKnown);
    showWorldClocks();
}

void SettingsViewController::showWorldClocks() {
    const auto table = worldClocksTable();
    if (!table) {
        return;
    }
    const auto& places = WorldTimeZone::places();
    std::vector<std::vector<std::string>> rows;
    for (const auto& zone : worldClocks_) {
        const auto place = std::find_if(places.begin(), places.end(),
                                        [&](const auto& p) { return p.identifier == zone; });
        rows.push_back({place != places.end() ? place->name : WorldTimeZone::cityName(zone)});
    }
    table->setRows(rows);
}

void SettingsViewController::showPlacesFound() {
    const auto table = placesTable();
    if (!table) {
        return;
    }
    const auto field = placeSearchField();
    const auto found = WorldTimeZone::placesMatching(field ? field->stringValue() : std::string());
    placesFound_.clear();
    std::vector<std::vector<std::string>> rows;
    for (const auto& place : found) {
        placesFound_.push_back(place.identifier);
        rows.push_back({place.name});
    }
    table->setRows(rows);
    // The first match is the one Enter or Add takes.
    table->selectRow(rows.empty() ? -1 : 0);
}

void SettingsViewController::storeWorldClocks(int selectRow) {
    if (readyForSaving) {
        userDefaults->setObject(WorldClockList::serialize(worldClocks_), WorldClockList::key);
    }
    showWorldClocks();
    if (const auto table = worldClocksTable()) {
        table->selectRow(selectRow);
    }
    showSaveStatus();
}

void SettingsViewController::weekNumbersChanged(Object* sender) {
    const auto* checkbox = dynamic_cast<Button*>(sender);
    if (readyForSaving) {
        userDefaults->setBool(checkbox != nullptr && checkbox->state() == Button::OnState,
                              Preferences::shouldShowWeekNumbersKey);
    }
    showSaveStatus();
}

void SettingsViewController::addWorldClock(Object*) {
    const auto places = placesTable();
    const int row = places ? places->selectedRow() : -1;
    if (row < 0 || row >= static_cast<int>(placesFound_.size())) {
        return;
    }
    // Another window may have changed the list since this one showed it.
    showStoredCalendarSettings();
    if (WorldClockList::add(worldClocks_, placesFound_[row])) {
        storeWorldClocks(static_cast<int>(worldClocks_.size()) - 1);
    }
}

int SettingsViewController::selectedWorldClock() {
    const auto table = worldClocksTable();
    const int row = table ? table->selectedRow() : -1;
    if (row < 0 || row >= static_cast<int>(worldClocks_.size())) {
        return -1;
    }
    // Where the place is in the list as stored now: another window may have changed it.
    const std::string zone = worldClocks_[row];
    showStoredCalendarSettings();
    const auto at = std::find(worldClocks_.begin(), worldClocks_.end(), zone);
    return at == worldClocks_.end() ? -1 : static_cast<int>(at - worldClocks_.begin());
}

void SettingsViewController::removeWorldClock(Object*) {
    const int index = selectedWorldClock();
    if (WorldClockList::remove(worldClocks_, index)) {
        storeWorldClocks(std::min(index, static_cast<int>(worldClocks_.size()) - 1));
    }
}

void SettingsViewController::moveWorldClock(int by) {
    const int index = selectedWorldClock();
    if (WorldClockList::move(worldClocks_, index, by)) {
        storeWorldClocks(index + by);
    }
}

void SettingsViewController::controlTextDidChange(const Notification& notification) {
    const auto field = std::dynamic_pointer_cast<TextField>(notification.object);
    if (field && field == placeSearchField()) {
        showPlacesFound();
        return;
    }
    if (!field || field != dateFormatTextField()) {
        return;
    }
    dateFormat = field->stringValue();
    applyDateFormat();
}

void SettingsViewController::reconcileLoginItem(bool launchSetting) {
    bool launcherRunning = false;
    for (const auto& application : services_.workspace->runningApplications()) {
        if (application->bundleIdentifier() == launcherBundleIdentifier) {
            launcherRunning = true;
            break;
        }
    }
    if (launcherRunning != launchSetting) {
        turnLoginItemOn();
    }
}

void SettingsViewController::launchAutomaticallyCheckBoxPressed(Object* sender) {
    const auto* checkbox = dynamic_cast<Button*>(sender);
    const bool on = checkbox != nullptr && checkbox->state() == Button::OnState;
    turnLoginItemOn();
    userDefaults->setBool(on, Preferences::shouldAutoLaunchKey);
    showSaveStatus();
}

void SettingsViewController::openDateTimePrefsButtonPressed(Object*) {
    if (const auto url = URL::fromString(dateTimePreferencesURL)) {
        services_.workspace->openURL(*url);
    }
}

void SettingsViewController::dateTimeOptionsChanged(Object* sender) {
    syncWithStore(sender);
    updateDateFormat();
}

void SettingsViewController::selectedCustomDateButton(Object* sender) {
    syncWithStore(sender);
    updateEnabledControls();
    updateDateFormat();
}

Action SettingsViewController::actionForSelector(const Selector& selector) {
    if (selector == "dateTimeOptionsChanged:") {
        return [this](Object* sender) { dateTimeOptionsChanged(sender); };
    }
    if (selector == "selectedCustomDateButton:") {
        return [this](Object* sender) { selectedCustomDateButton(sender); };
    }
    if (selector == "launchAutomaticallyCheckBoxPressed:") {
        return [this](Object* sender) { launchAutomaticallyCheckBoxPressed(sender); };
    }
    if (selector == "weekNumbersChanged:") {
        return [this](Object* sender) { weekNumbersChanged(sender); };
    }
    if (selector == "addWorldClock:") {
        return [this](Object* sender) { addWorldClock(sender); };
    }
    if (selector == "removeWorldClock:") {
        return [this](Object* sender) { removeWorldClock(sender); };
    }
    if (selector == "moveWorldClockUp:") {
        return [this](Object*) { moveWorldClock(-1); };
    }
    if (selector == "moveWorldClockDown:") {
        return [this](Object*) { moveWorldClock(1); };
    }
    if (selector == "openDateTimePrefsButtonPressed:") {
        return [this](Object* sender) { openDateTimePrefsButtonPressed(sender); };
    }
    return ViewController::actionForSelector(selector);
}

}  // namespace vorelt
