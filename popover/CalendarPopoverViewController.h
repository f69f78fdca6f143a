#pragma once

#include <memory>
#include <string>
#include <vector>

#include "menubar/Services.h"
#include "platform/ui/ViewController.h"

namespace vorelt {

class Button;
class DateFormatter;
class DatePicker;
class PlaceTimeFormatter;
class TableView;
class Timer;
class UserDefaults;
class TextField;

// The popover's content: today's date in full, a month calendar, and the settings and quit
// buttons.
class CalendarPopoverViewController : public ViewController {
public:
    explicit CalendarPopoverViewController(Services services = {});
    CalendarPopoverViewController(std::string nibName, Services services = {});
    ~CalendarPopoverViewController() override;

    std::shared_ptr<TextField> timeLabel() const { return timeLabel_.lock(); }
    std::shared_ptr<DatePicker> datePicker() const { return datePicker_.lock(); }
    std::shared_ptr<Button> settingsButton() const { return settingsButton_.lock(); }
    std::shared_ptr<Button> quitButton() const { return quitButton_.lock(); }
    std::shared_ptr<TableView> worldClocksTable() const { return worldClocksTable_.lock(); }
    void setTimeLabel(const std::shared_ptr<TextField>& label) { timeLabel_ = label; }
    void setDatePicker(const std::shared_ptr<DatePicker>& picker) { datePicker_ = picker; }
    void setSettingsButton(const std::shared_ptr<Button>& button) { settingsButton_ = button; }
    void setQuitButton(const std::shared_ptr<Button>& button) { quitButton_ = button; }

    void viewDidLoad() override;
    void viewWillAppear() override;
    void awakeFromNib() override;
    // The settings button's action.
    void settingsButtonSelected();

    // Shows the stored world clocks at the current moment, each with its time, its day where
    // that is not today's, and how far ahead of here it is; the table is hidden when there are
    // none. Run at each opening and, while the popover is shown, at every tick of its timer, so
    // that a new minute or a new system time zone shows at once.
    void updateWorldClocks();

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
    std::weak_ptr<TableView> worldClocksTable_;
    std::shared_ptr<UserDefaults> userDefaults_;
    std::unique_ptr<PlaceTimeFormatter> placeTimeFormatter_;
    // Which hours the formatter writes; it is made again when the setting changes.
    int placeHours_ = -1;
    std::vector<std::vector<std::string>> worldClockRows_;
    std::shared_ptr<Timer> worldClockTimer_;
    bool worldClockTimerRunning_ = false;
};

}  // namespace vorelt
