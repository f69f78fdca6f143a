#pragma once

#include <memory>

#include "menubar/Services.h"
#include "platform/ui/ViewController.h"

namespace vorelt {

class Button;
class DateFormatter;
class DatePicker;
class TextField;

// The popover's content: today's date in full, a month calendar, and the settings and quit
// buttons.
class CalendarPopoverViewController : public ViewController {
public:
    explicit CalendarPopoverViewController(Services services = {});
    CalendarPopoverViewController(std::string nibName, Services services = {});

    std::shared_ptr<TextField> timeLabel() const { return timeLabel_.lock(); }
    std::shared_ptr<DatePicker> datePicker() const { return datePicker_.lock(); }
    std::shared_ptr<Button> settingsButton() const { return settingsButton_.lock(); }
    std::shared_ptr<Button> quitButton() const { return quitButton_.lock(); }
    void setTimeLabel(const std::shared_ptr<TextField>& label) { timeLabel_ = label; }
    void setDatePicker(const std::shared_ptr<DatePicker>& picker) { datePicker_ = picker; }
    void setSettingsButton(const std::shared_ptr<Button>& button) { settingsButton_ = button; }
    void setQuitButton(const std::shared_ptr<Button>& button) { quitButton_ = button; }

    void viewDidLoad() override;
    void viewWillAppear() override;
    void awakeFromNib() override;
    // The settings button's action.
    void settingsButtonSelected();

    void setOutlet(const std::string& name, const std::shared_ptr<View>& control) override;
    Action actionForSelector(const Selector& selector) override;

    const std::shared_ptr<DateFormatter> dateFormatter;

private:
    std::weak_ptr<TextField> timeLabel_;
    std::weak_ptr<DatePicker> datePicker_;
    std::weak_ptr<Button> settingsButton_;
    std::weak_ptr<Button> quitButton_;
    // Today's, and handed on to the settings.
    const Services services_;
};

}  // namespace vorelt
