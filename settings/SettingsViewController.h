#pragma once

#include <memory>
#include <string>
#include <unordered_set>

#include "model/DateFormatSettingsFields.h"
#include "platform/TextFieldDelegate.h"
#include "platform/ViewController.h"

namespace vorelt {

class Button;
class DateFormatter;
class TextField;
class UserDefaults;

// The settings view: the display options, the pattern with its live preview, launch at login and
// the way to the desktop's date and time settings. Every change is saved at once; loading the
// view saves nothing but the defaults of a first run.
class SettingsViewController : public ViewController, public TextFieldDelegate {
    // The outlets come first: the fields are declared in one place, in this order.
    std::weak_ptr<Button> launchAutomaticallyButton_;
    std::weak_ptr<Button> shouldShowDayOfWeekButton_;
    std::weak_ptr<Button> shouldShowDateButton_;
    std::weak_ptr<Button> shouldShowYearButton_;
    std::weak_ptr<Button> shouldShowSecondsButton_;
    std::weak_ptr<Button> shouldShowTimezoneButton_;
    std::weak_ptr<Button> shouldFlashSeparatorButton_;
    std::weak_ptr<Button> shouldUseAMPMButton_;
    std::weak_ptr<Button> shouldUse24HourButton_;
    std::weak_ptr<Button> shouldUseCustomDateButton_;
    std::weak_ptr<TextField> dateFormatTextField_;
    std::weak_ptr<TextField> dateFormatLabel_;
    // Says where settings could not be saved; hidden while they can.
    std::weak_ptr<TextField> saveStatusLabel_;

public:
    SettingsViewController();
    explicit SettingsViewController(std::string nibName);
    ~SettingsViewController() override;

    // Outlets.
    std::shared_ptr<Button> launchAutomaticallyButton() const {
        return launchAutomaticallyButton_.lock();
    }
    std::shared_ptr<Button> shouldShowDayOfWeekButton() const {
        return shouldShowDayOfWeekButton_.lock();
    }
    std::shared_ptr<Button> shouldShowDateButton() const { return shouldShowDateButton_.lock(); }
    std::shared_ptr<Button> shouldShowYearButton() const { return shouldShowYearButton_.lock(); }
    std::shared_ptr<Button> shouldShowSecondsButton() const {
        return shouldShowSecondsButton_.lock();
    }
    std::shared_ptr<Button> shouldShowTimezoneButton() const {
        return shouldShowTimezoneButton_.lock();
    }
    std::shared_ptr<Button> shouldFlashSeparatorButton() const {
        return shouldFlashSeparatorButton_.lock();
    }
    std::shared_ptr<Button> shouldUseAMPMButton() const { return shouldUseAMPMButton_.lock(); }
    std::shared_ptr<Button> shouldUse24HourButton() const { return shouldUse24HourButton_.lock(); }
    std::shared_ptr<Button> shouldUseCustomDateButton() const {
        return shouldUseCustomDateButton_.lock();
    }
    std::shared_ptr<TextField> dateFormatTextField() const { return dateFormatTextField_.lock(); }
    std::shared_ptr<TextField> dateFormatLabel() const { return dateFormatLabel_.lock(); }
    std::shared_ptr<TextField> saveStatusLabel() const { return saveStatusLabel_.lock(); }
    void setLaunchAutomaticallyButton(const std::shared_ptr<Button>& b) {
        launchAutomaticallyButton_ = b;
    }
    void setShouldShowDayOfWeekButton(const std::shared_ptr<Button>& b) {
        shouldShowDayOfWeekButton_ = b;
    }
    void setShouldShowDateButton(const std::shared_ptr<Button>& b) { shouldShowDateButton_ = b; }
    void setShouldShowYearButton(const std::shared_ptr<Button>& b) { shouldShowYearButton_ = b; }
    void setShouldShowSecondsButton(const std::shared_ptr<Button>& b) {
        shouldShowSecondsButton_ = b;
    }
    void setShouldShowTimezoneButton(const std::shared_ptr<Button>& b) {
        shouldShowTimezoneButton_ = b;
    }
    void setShouldFlashSeparatorButton(const std::shared_ptr<Button>& b) {
        shouldFlashSeparatorButton_ = b;
    }
    void setShouldUseAMPMButton(const std::shared_ptr<Button>& b) { shouldUseAMPMButton_ = b; }
    void setShouldUse24HourButton(const std::shared_ptr<Button>& b) { shouldUse24HourButton_ = b; }
    void setShouldUseCustomDateButton(const std::shared_ptr<Button>& b) {
        shouldUseCustomDateButton_ = b;
    }
    void setDateFormatTextField(const std::shared_ptr<TextField>& f) { dateFormatTextField_ = f; }
    void setDateFormatLabel(const std::shared_ptr<TextField>& f) { dateFormatLabel_ = f; }

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

    // The checkbox that shows `field`.
    std::shared_ptr<Button> buttonFor(DateFormatSettingsFields field) const;

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
    void showSaveStatus();

    int storeObserver_ = 0;
};

}  // namespace vorelt
