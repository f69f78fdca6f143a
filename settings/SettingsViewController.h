#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "model/DateFormatSettingsFields.h"
#include "platform/ui/TextFieldDelegate.h"
#include "platform/ui/ViewController.h"

namespace vorelt {

class Button;
class DateFormatter;
class TextField;
class UserDefaults;

// The settings view: the display options, the pattern with its live preview, launch at login and
// the way to the desktop's date and time settings. Every change is saved at once; loading the
// view saves nothing but the defaults of a first run.
class SettingsViewController : public ViewController, public TextFieldDelegate {
    // The outlets come first: the fields are declared in one place. The nine option checkboxes
    // are kept by the option each shows.
    std::weak_ptr<Button> launchAutomaticallyButton_;
    std::array<std::weak_ptr<Button>, DateFormatSettingsFields::count> optionButtons_;
    std::weak_ptr<TextField> dateFormatTextField_;
    std::weak_ptr<TextField> dateFormatLabel_;
    // Says where settings could not be saved; hidden while they can.
    std::weak_ptr<TextField> saveStatusLabel_;

public:
    // The outlet name of each option's checkbox, in the options' order.
    static const std::array<std::string_view, DateFormatSettingsFields::count> optionOutletNames;

    SettingsViewController();
    explicit SettingsViewController(std::string nibName);
    ~SettingsViewController() override;

    // Outlets.
    std::shared_ptr<Button> launchAutomaticallyButton() const {
        return launchAutomaticallyButton_.lock();
    }
    // The checkbox that shows `field`.
    std::shared_ptr<Button> buttonFor(DateFormatSettingsFields field) const {
        return optionButtons_[field.ordinal()].lock();
    }
    std::shared_ptr<Button> shouldShowDayOfWeekButton() const {
        return buttonFor(DateFormatSettingsFields::shouldShowDayOfWeek);
    }
    std::shared_ptr<Button> shouldShowDateButton() const {
        return buttonFor(DateFormatSettingsFields::shouldShowDate);
    }
    std::shared_ptr<Button> shouldShowYearButton() const {
        return buttonFor(DateFormatSettingsFields::shouldShowYear);
    }
    std::shared_ptr<Button> shouldShowSecondsButton() const {
        return buttonFor(DateFormatSettingsFields::shouldShowSeconds);
    }
    std::shared_ptr<Button> shouldShowTimezoneButton() const {
        return buttonFor(DateFormatSettingsFields::shouldShowTimezone);
    }
    std::shared_ptr<Button> shouldFlashSeparatorButton() const {
        return buttonFor(DateFormatSettingsFields::shouldFlashSeparator);
    }
    std::shared_ptr<Button> shouldUseAMPMButton() const {
        return buttonFor(DateFormatSettingsFields::shouldUseAMPM);
    }
    std::shared_ptr<Button> shouldUse24HourButton() const {
        return buttonFor(DateFormatSettingsFields::shouldUse24Hour);
    }
    std::shared_ptr<Button> shouldUseCustomDateButton() const {
        return buttonFor(DateFormatSettingsFields::shouldUseCustomFormat);
    }
    std::shared_ptr<TextField> dateFormatTextField() const { return dateFormatTextField_.lock(); }
    std::shared_ptr<TextField> dateFormatLabel() const { return dateFormatLabel_.lock(); }
    std::shared_ptr<TextField> saveStatusLabel() const { return saveStatusLabel_.lock(); }

    void viewDidLoad() override;

    // Actions.
    void launchAutomaticallyCheckBoxPressed(Object* sender);
    void openDateTimePrefsButtonPressed(Object* sender);
    void dateTimeOptionsChanged(Object* sender);
    void selectedCustomDateButton(Object* sender);
    void controlTextDidChange(const Notification& notification) override;

    void loadDateFormatSettings();
    void updateEnabledControls();
    void updateDateFormat();
    void applyDateFormat();
    void reconcileLoginItem(bool launchSetting);

    void setOutlet(const std::string& name, const std::shared_ptr<View>& control) override;
    Action actionForSelector(const Selector& selector) override;

    const std::shared_ptr<DateFormatter> dateFormatter;
    std::string dateFormat;
    const std::shared_ptr<UserDefaults> userDefaults;
    bool readyForSaving = false;

    // Brings the controls up to date with the store, as a new view would load them, leaving
    // alone the control the person is acting on: another window may have changed the store since,
    // and a change here must not write back that window's older state. Stores nothing.
    void syncWithStore(const Object* acting);

private:
    // Shows what this view would show for the stored pattern and options, without storing it.
    void showPattern(const std::string& pattern);
    // Sets the option controls from the store, all but `acting`. AM/PM and the 24-hour clock are
    // a pair of radio buttons: a stored pair that says both or neither shows as AM/PM says.
    void showStoredOptions(const Object* acting);
    void showHourPair(bool amPm);
    // The options whose controls are on.
    std::unordered_set<DateFormatSettingsFields> optionsShown() const;
    // Shows, under the options, what cannot work here: saving, or launching at login.
    void showSaveStatus();
    void turnLoginItemOn();

    int storeObserver_ = 0;
    // The login item could not be turned on: its program is not installed beside this one.
    bool loginItemFailed_ = false;
};

}  // namespace vorelt
