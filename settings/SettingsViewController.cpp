#include "settings/SettingsViewController.h"

#include <unordered_set>

#include "model/Identifiers.h"
#include "model/Preferences.h"
#include "model/composeDateFormat.h"
#include "platform/Button.h"
#include "platform/DateFormatter.h"
#include "platform/DesktopSettings.h"
#include "platform/ServiceManagement.h"
#include "platform/TextField.h"
#include "platform/URL.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

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

SettingsViewController::SettingsViewController() : SettingsViewController(std::string()) {}

SettingsViewController::SettingsViewController(std::string nibName)
    : ViewController(std::move(nibName), "SettingsViewController"),
      dateFormatter(std::make_shared<DateFormatter>()),
      userDefaults(UserDefaults::standardUserDefaults()) {}

void SettingsViewController::setOutlet(const std::string& name,
                                       const std::shared_ptr<View>& control) {
    const auto button = std::dynamic_pointer_cast<Button>(control);
    const auto field = std::dynamic_pointer_cast<TextField>(control);
    if (name == "launchAutomaticallyButton") {
        setLaunchAutomaticallyButton(button);
    } else if (name == "shouldShowDayOfWeekButton") {
        setShouldShowDayOfWeekButton(button);
    } else if (name == "shouldShowDateButton") {
        setShouldShowDateButton(button);
    } else if (name == "shouldShowYearButton") {
        setShouldShowYearButton(button);
    } else if (name == "shouldShowSecondsButton") {
        setShouldShowSecondsButton(button);
    } else if (name == "shouldShowTimezoneButton") {
        setShouldShowTimezoneButton(button);
    } else if (name == "shouldFlashSeparatorButton") {
        setShouldFlashSeparatorButton(button);
    } else if (name == "shouldUseAMPMButton") {
        setShouldUseAMPMButton(button);
    } else if (name == "shouldUse24HourButton") {
        setShouldUse24HourButton(button);
    } else if (name == "shouldUseCustomDateButton") {
        setShouldUseCustomDateButton(button);
    } else if (name == "dateFormatTextField") {
        setDateFormatTextField(field);
    } else if (name == "dateFormatLabel") {
        setDateFormatLabel(field);
    }
}

std::shared_ptr<Button> SettingsViewController::buttonFor(DateFormatSettingsFields field) const {
    switch (field.value()) {
        case Field::shouldShowDayOfWeek:
            return shouldShowDayOfWeekButton();
        case Field::shouldShowDate:
            return shouldShowDateButton();
        case Field::shouldShowYear:
            return shouldShowYearButton();
        case Field::shouldShowSeconds:
            return shouldShowSecondsButton();
        case Field::shouldShowTimezone:
            return shouldShowTimezoneButton();
        case Field::shouldFlashSeparator:
            return shouldFlashSeparatorButton();
        case Field::shouldUseAMPM:
            return shouldUseAMPMButton();
        case Field::shouldUse24Hour:
            return shouldUse24HourButton();
        case Field::shouldUseCustomFormat:
            return shouldUseCustomDateButton();
    }
    return nullptr;
}

void SettingsViewController::viewDidLoad() {
    ViewController::viewDidLoad();
    Preferences::seedShouldAutoLaunch(*userDefaults);
    const bool launchSetting = userDefaults->boolForKey(Preferences::shouldAutoLaunchKey);
    if (const auto checkbox = launchAutomaticallyButton()) {
        checkbox->setState(launchSetting ? Button::OnState : Button::OffState);
    }
    reconcileLoginItem(launchSetting);
    if (const auto field = dateFormatTextField()) {
        field->setDelegate(std::dynamic_pointer_cast<TextFieldDelegate>(shared_from_this()));
    }
    loadDateFormatSettings();
    updateEnabledControls();
    updateDateFormat();
    readyForSaving = true;
}

void SettingsViewController::loadDateFormatSettings() {
    Preferences::seedDateFormatOptions(*userDefaults);
    for (const Field field : Field::allCases()) {
        if (const auto checkbox = buttonFor(field)) {
            checkbox->setState(userDefaults->boolForKey(field.rawValue()) ? Button::OnState
                                                                          : Button::OffState);
        }
    }
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

void SettingsViewController::updateDateFormat() {
    std::unordered_set<Field> on;
    for (const Field field : Field::allCases()) {
        if (isOn(buttonFor(field))) {
            on.insert(field);
        }
    }
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
    label->setStringValue(dateFormatter->stringFromDate(Date::now()));
}

void SettingsViewController::controlTextDidChange(const Notification& notification) {
    const auto field = std::dynamic_pointer_cast<TextField>(notification.object);
    if (!field || field != dateFormatTextField()) {
        return;
    }
    dateFormat = field->stringValue();
    applyDateFormat();
}

void SettingsViewController::reconcileLoginItem(bool launchSetting) {
    bool launcherRunning = false;
    for (const auto& application : Workspace::sharedWorkspace()->runningApplications()) {
        if (application->bundleIdentifier() == launcherBundleIdentifier) {
            launcherRunning = true;
            break;
        }
    }
    if (launcherRunning != launchSetting) {
        SMLoginItemSetEnabled(launcherBundleIdentifier, true);
    }
}

void SettingsViewController::launchAutomaticallyCheckBoxPressed(Object* sender) {
    const auto* checkbox = dynamic_cast<Button*>(sender);
    const bool on = checkbox != nullptr && checkbox->state() == Button::OnState;
    SMLoginItemSetEnabled(launcherBundleIdentifier, true);
    userDefaults->setBool(on, Preferences::shouldAutoLaunchKey);
}

void SettingsViewController::openDateTimePrefsButtonPressed(Object*) {
    if (const auto url = URL::fromString(dateTimePreferencesURL)) {
        Workspace::sharedWorkspace()->openURL(*url);
    }
}

void SettingsViewController::dateTimeOptionsChanged(Object*) {
    updateDateFormat();
}

void SettingsViewController::selectedCustomDateButton(Object*) {
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
    if (selector == "openDateTimePrefsButtonPressed:") {
        return [this](Object* sender) { openDateTimePrefsButtonPressed(sender); };
    }
    return ViewController::actionForSelector(selector);
}

}  // namespace vorelt
