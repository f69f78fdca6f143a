#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QDir>
#include <QTextCharFormat>

#include <set>

#include "TestSupport.h"
#include "menubar/AppDelegate.h"
#include "menubar/EventMonitor.h"
#include "platform/app/ServiceManagement.h"
#include "platform/foundation/Timer.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Event.h"
#include "platform/ui/Popover.h"
#include "platform/ui/TextField.h"
#include "platform/ui/WindowController.h"
#include "popover/CalendarPopoverViewController.h"

namespace vorelt {
namespace {

// The application: its delegate, a recording status bar and login service, outside clicks from a
// substitute source, and a clock that the test moves. That the timer drives the title, what
// Settings prints, and that Quit and the signals end the clock are the end-to-end tests'.
class Launched : public testing::Test {
protected:
    void SetUp() override {
        Event::useSubstituteSource(true);
        auto recording = std::make_unique<test::RecordingHost>();
        host = recording.get();
        StatusBar::systemStatusBar()->setHost(std::move(recording));
        delegate = std::make_shared<AppDelegate>();
        Application::sharedApplication()->setDelegate(delegate);
        // The title when the launcher is registered; its name is the autostart test's.
        setLoginItemServiceForTesting([this](std::string_view) {
            titlesAtRegistration.push_back(title());
            return true;
        });
    }
    void TearDown() override {
        delegate->applicationWillTerminate(nullptr);
        StatusBar::systemStatusBar()->removeStatusItem(delegate->statusItem);
        Application::sharedApplication()->setDelegate(nullptr);
        setLoginItemServiceForTesting({});
        StatusBar::systemStatusBar()->setHost(std::make_unique<test::RecordingHost>());
        Event::useSubstituteSource(false);
    }
    void launch() { delegate->applicationDidFinishLaunching(nullptr); }
    void clickItem() { delegate->statusItem->button()->performClick(); }
    bool shown() const { return delegate->popover->isShown(); }
    bool monitoring() const { return delegate->eventMonitor->isStarted(); }
    CalendarPopoverViewController& calendar() const {
        return *delegate->calendarPopoverViewController;
    }
    std::string title() const { return delegate->statusItem->button()->title(); }
    // What the timer does once a second, one second later.
    std::string tick() {
        clock.advance(1.0);
        delegate->updateMenuTime();
        return title();
    }

    test::TemporaryConfigHome home;
    test::ManualClock clock{test::kMondayAfterMidnight};
    test::RecordingHost* host = nullptr;
    std::shared_ptr<AppDelegate> delegate;
    std::shared_ptr<UserDefaults> store = UserDefaults::standardUserDefaults();
    std::vector<std::string> titlesAtRegistration;
};

TEST_F(Launched, LaunchRegistersTheLauncherFirstEvenWhenTheUserSaidNoAndWritesNothing) {
    store->setBool(false, "shouldAutoLaunch");
    const QByteArray stored = home.readStore();
    launch();
    EXPECT_EQ(titlesAtRegistration, std::vector<std::string>{""}) << "before the placeholder";
    EXPECT_EQ(host->titles, (std::vector<std::string>{"Time", "Mon Dec 29  12:05 AM"}));
    EXPECT_EQ(home.readStore(), stored) << "the clock never writes the store";
    EXPECT_FALSE(shown() || monitoring());
    EXPECT_FALSE(calendar().isViewLoaded()) << "the popover's view loads when first needed";
    store->setObject("", "dateFormat");
    EXPECT_EQ(tick(), "") << "a stored empty pattern is used as it is";
}

TEST_F(Launched, FlashingBlanksEveryColonOnAlternateTicksFromLaunch) {
    store->setObject("HH:mm:ss 'at:'", "dateFormat");
    store->setBool(true, "shouldFlashSeparator");
    launch();
    EXPECT_EQ(title(), "00 05 09 at ");
    EXPECT_EQ(tick(), "00:05:10 at:");
    EXPECT_EQ(tick(), "00 05 11 at ");
    // Off while blanked: colons come back and the phase is kept.
    store->setBool(false, "shouldFlashSeparator");
    EXPECT_EQ(tick(), "00:05:12 at:");
    store->setBool(true, "shouldFlashSeparator");
    EXPECT_EQ(tick(), "00:05:13 at:");
    EXPECT_EQ(tick(), "00 05 14 at ");
    // An item without a button: ticks change nothing, the phase included.
    const auto button = delegate->statusItem->button();
    delegate->statusItem->setButton(nullptr);
    clock.advance(1.0);
    delegate->updateMenuTime();
    delegate->statusItem->setButton(button);
    EXPECT_EQ(tick(), "00:05:16 at:");
}

// Which presses outside close the popover is the end-to-end tests'.
TEST_F(Launched, OutsideClickHandlerIsHarmlessLateOrOrphaned) {
    launch();
    const Event::Handler handler = delegate->eventMonitor->handler;
    const auto press = std::make_shared<Event>(Event::LeftMouseDown, Point{});
    handler(press);  // popover closed: nothing happens, nothing opens
    EXPECT_FALSE(shown());
    clickItem();
    EXPECT_TRUE(monitoring());
    handler(nullptr);  // no event at all still closes it, and its monitor stops
    EXPECT_FALSE(shown() || monitoring());

    const std::weak_ptr<AppDelegate> weak = delegate;
    TearDown();
    delegate.reset();
    EXPECT_TRUE(weak.expired()) << "the handler must not keep the delegate alive";
    handler(press);
    SetUp();
}

TEST_F(Launched, StartingAMonitorAgainReplacesTheInstalledOneAndDestroyingRemovesIt) {
    int calls = 0;
    {
        EventMonitor monitor(Event::LeftMouseDownMask, [&calls](const auto&) { ++calls; });
        monitor.start();
        monitor.start();
        Event::deliverGlobalEvent(Event::LeftMouseDown, {});
        EXPECT_EQ(calls, 1);
    }
    Event::deliverGlobalEvent(Event::LeftMouseDown, {});
    EXPECT_EQ(calls, 1);
}

TEST_F(Launched, PopoverShowsTheFullDateAsOfItsOpening) {
    launch();
    store->setObject("HH:mm", "dateFormat");
    clickItem();
    EXPECT_EQ(calendar().timeLabel()->stringValue(), "Monday, December 29, 2025");
    // Past midnight while open: nothing changes until it opens again.
    clock.advance(24 * 3600);
    delegate->updateMenuTime();
    EXPECT_EQ(calendar().timeLabel()->stringValue(), "Monday, December 29, 2025");
    calendar().datePicker()->setDateValue(Date(0));  // the user picks a day: never read back
    clickItem();
    clickItem();
    EXPECT_EQ(calendar().timeLabel()->stringValue(), "Tuesday, December 30, 2025");
    EXPECT_DOUBLE_EQ(calendar().datePicker()->dateValue().timeIntervalSince1970(),
                     test::kMondayAfterMidnight + 24 * 3600);
}

// Every interface resource loads, and every control in it that sends an action has a name for
// screen readers and a receiver for its action.
TEST_F(Launched, EveryInterfaceLoadsNamedAndWired) {
    launch();
    clickItem();
    calendar().settingsButton()->performClick();
    EXPECT_FALSE(shown() || monitoring()) << "Settings closes the popover";
    std::vector<std::shared_ptr<ViewController>> controllers{
        delegate->calendarPopoverViewController};
    std::set<QString> loaded;
    for (const auto& window : WindowController::openWindows()) {
        loaded.insert(QString::fromStdString(window->windowNibName()) + ".ui");
        controllers.push_back(window->contentViewController());
    }
    const auto application = Application::sharedApplication();
    for (const auto& controller : controllers) {
        loaded.insert(controller->view()->widget()->objectName() + ".ui");
        for (const auto& view : controller->subviews()) {
            const auto* control = dynamic_cast<Control*>(view.get());
            if (control != nullptr && !control->action().empty()) {
                EXPECT_FALSE(view->accessibilityLabel().empty()) << view->identifier();
                EXPECT_TRUE(application->receiverForAction(control->action(), nullptr, view.get()))
                    << view->identifier() << " sends " << control->action() << " to nobody";
            }
        }
    }
    const auto resources = QDir(":/ui").entryList();
    EXPECT_EQ(loaded, std::set<QString>(resources.begin(), resources.end()));
    WindowController::releaseOpenWindows();
}

// Egypt's week starts on Saturday and its weekend is Friday and Saturday: neither is the default
// nor the language's (English) of these tests.
TEST(CalendarWeek, FollowsTheLocaleOfDates) {
    qputenv("LC_TIME", "ar_EG.UTF-8");
    QCalendarWidget calendar;
    const DatePicker picker(&calendar);
    EXPECT_EQ(calendar.firstDayOfWeek(), Qt::Saturday);
    const QBrush plain = calendar.weekdayTextFormat(Qt::Wednesday).foreground();
    std::set<int> marked;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        if (calendar.weekdayTextFormat(Qt::DayOfWeek(day)).foreground() != plain) {
            marked.insert(day);
        }
    }
    EXPECT_EQ(marked, (std::set<int>{Qt::Friday, Qt::Saturday}));
    qunsetenv("LC_TIME");
}

}  // namespace
}  // namespace vorelt
