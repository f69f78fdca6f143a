#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QDir>
#include <QTextCharFormat>
#include <QWidget>

#include <csignal>
#include <set>

#include "TestSupport.h"
#include "menubar/AppDelegate.h"
#include "menubar/EventMonitor.h"
#include "model/Identifiers.h"
#include "platform/app/Application.h"
#include "platform/app/ServiceManagement.h"
#include "platform/foundation/Timer.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/ui/Button.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/Event.h"
#include "platform/ui/Popover.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WindowController.h"
#include "popover/CalendarPopoverViewController.h"

namespace vorelt {
namespace {

struct Registration {
    std::string identifier;
    std::string titleThen;
    bool timerThen;
};

// A launched application: its delegate, a recording status bar and login service, outside clicks
// from a substitute source, and a clock that the test moves.
class Launched : public testing::Test {
protected:
    void SetUp() override {
        Event::useSubstituteSource(true);
        auto recording = std::make_unique<test::RecordingHost>();
        host = recording.get();
        StatusBar::systemStatusBar()->setHost(std::move(recording));
        delegate = std::make_shared<AppDelegate>();
        Application::sharedApplication()->setDelegate(delegate);
        setLoginItemServiceForTesting([this](std::string_view identifier) {
            registrations.push_back({std::string(identifier),
                                     delegate->statusItem->button()->title(),
                                     static_cast<bool>(delegate->timer)});
            return true;
        });
        Application::sharedApplication()->setTerminationHandler([this] { ++terminations; });
    }
    void TearDown() override {
        delegate->applicationWillTerminate(nullptr);
        StatusBar::systemStatusBar()->removeStatusItem(delegate->statusItem);
        Application::sharedApplication()->setDelegate(nullptr);
        Application::sharedApplication()->setTerminationHandler({});
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

    test::TemporaryConfigHome home;
    test::ManualClock clock{test::kMondayAfterMidnight};
    test::RecordingHost* host = nullptr;
    std::shared_ptr<AppDelegate> delegate;
    std::vector<Registration> registrations;
    int terminations = 0;
};

TEST_F(Launched, LaunchRunsItsStepsInOrder) {
    launch();
    ASSERT_EQ(registrations.size(), 1u);
    EXPECT_EQ(registrations[0].identifier, launcherBundleIdentifier);
    EXPECT_EQ(registrations[0].titleThen, "") << "registration comes before the placeholder";
    EXPECT_FALSE(registrations[0].timerThen);
    EXPECT_EQ(host->titles, (std::vector<std::string>{"Time", "Mon Dec 29  12:05 AM"}));
    ASSERT_TRUE(delegate->calendarPopoverViewController);
    EXPECT_EQ(delegate->popover->contentViewController(), delegate->calendarPopoverViewController);
    ASSERT_TRUE(delegate->eventMonitor);
    EXPECT_FALSE(monitoring()) << "the monitor starts stopped";
    EXPECT_FALSE(shown());
    EXPECT_FALSE(calendar().isViewLoaded()) << "the popover's view loads when first needed";
}

TEST_F(Launched, RegistersTheLauncherEvenWhenTheUserSaidNo) {
    UserDefaults::standardUserDefaults()->setBool(false, "shouldAutoLaunch");
    launch();
    EXPECT_EQ(registrations.size(), 1u);
}

TEST_F(Launched, ItemClicksToggleThePopoverAndTheMonitor) {
    launch();
    Event::deliverGlobalEvent(Event::LeftMouseDown, {});
    EXPECT_FALSE(shown()) << "outside clicks do nothing before the popover opened";
    clickItem();
    EXPECT_TRUE(shown());
    EXPECT_TRUE(monitoring());
    clickItem();
    EXPECT_FALSE(shown());
    EXPECT_FALSE(monitoring());
    clickItem();
    EXPECT_TRUE(shown());
}

TEST_F(Launched, OnlyLeftAndRightPressesOutsideCloseIt) {
    launch();
    for (const Event::Type closing : {Event::LeftMouseDown, Event::RightMouseDown}) {
        clickItem();
        for (const Event::Type other : {Event::OtherMouseDown, Event::ScrollWheel}) {
            Event::deliverGlobalEvent(other, {});
            EXPECT_TRUE(shown()) << other;
        }
        Event::deliverGlobalEvent(closing, {10, 500});
        EXPECT_FALSE(shown()) << closing;
        EXPECT_FALSE(monitoring());
    }
}

TEST_F(Launched, OutsideClickHandlerIsHarmlessLateOrOrphaned) {
    launch();
    const Event::Handler handler = delegate->eventMonitor->handler;
    const auto press = std::make_shared<Event>(Event::LeftMouseDown, Point{});
    handler(press);  // popover closed: nothing happens, nothing opens
    EXPECT_FALSE(shown());
    clickItem();
    handler(nullptr);  // no event at all still closes it
    EXPECT_FALSE(shown());

    const std::weak_ptr<AppDelegate> weak = delegate;
    TearDown();
    delegate.reset();
    EXPECT_TRUE(weak.expired()) << "the handler must not keep the delegate alive";
    handler(press);
    SetUp();
}

TEST_F(Launched, RestartingAMonitorReplacesTheInstalledOne) {
    int calls = 0;
    {
        EventMonitor monitor(Event::LeftMouseDownMask, [&calls](const auto&) { ++calls; });
        monitor.start();
        monitor.start();
        Event::deliverGlobalEvent(Event::LeftMouseDown, {});
        EXPECT_EQ(calls, 1);
        Event::deliverGlobalEvent(Event::RightMouseDown, {});
        EXPECT_EQ(calls, 1);
    }
    Event::deliverGlobalEvent(Event::LeftMouseDown, {});
    EXPECT_EQ(calls, 1) << "destroying a started monitor removes it";
}

TEST_F(Launched, PopoverShowsTheFullDateAsOfItsOpening) {
    launch();
    UserDefaults::standardUserDefaults()->setObject("HH:mm", "dateFormat");
    clickItem();
    ASSERT_TRUE(calendar().timeLabel());
    EXPECT_EQ(calendar().timeLabel()->stringValue(), "Monday, December 29, 2025");
    EXPECT_DOUBLE_EQ(calendar().datePicker()->dateValue().timeIntervalSince1970(),
                     test::kMondayAfterMidnight);

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

TEST_F(Launched, SettingsButtonReportsAndClosesThePopover) {
    launch();
    clickItem();
    const int windows = WindowController::openWindowCount();
    testing::internal::CaptureStdout();
    calendar().settingsButton()->performClick();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Settings selected\n");
    EXPECT_FALSE(shown());
    EXPECT_FALSE(monitoring());
    EXPECT_EQ(WindowController::openWindowCount(), windows + 1);
    clickItem();
    EXPECT_TRUE(shown());
    calendar().settingsButton()->performClick();
    EXPECT_EQ(WindowController::openWindowCount(), windows + 2) << "each press opens a new window";
    WindowController::releaseOpenWindows();
}

TEST_F(Launched, QuitButtonEndsTheApplicationThroughTheDelegate) {
    launch();
    clickItem();
    const auto timer = delegate->timer;
    calendar().quitButton()->performClick();
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(Launched, ASignalTakesTheSamePath) {
    launch();
    Application::installSignalHandlers();
    const auto timer = delegate->timer;
    std::raise(SIGTERM);
    EXPECT_TRUE(test::waitFor([this] { return terminations == 1; }));
    EXPECT_FALSE(timer->isValid());
}

// Egypt's week starts on Saturday and its weekend is Friday and Saturday.
TEST(CalendarWeek, FollowsTheLocaleOfDates) {
    struct Case {
        const char* locale;
        Qt::DayOfWeek first;
        std::set<int> weekend;
    };
    for (const Case& c : {Case{"en_US.UTF-8", Qt::Sunday, {Qt::Saturday, Qt::Sunday}},
                          Case{"ar_EG.UTF-8", Qt::Saturday, {Qt::Friday, Qt::Saturday}},
                          Case{"de_DE.UTF-8", Qt::Monday, {Qt::Saturday, Qt::Sunday}}}) {
        SCOPED_TRACE(c.locale);
        qputenv("LC_TIME", c.locale);
        QCalendarWidget calendar;
        const DatePicker picker(&calendar);
        EXPECT_EQ(calendar.firstDayOfWeek(), c.first);
        const QBrush marked =
            calendar.weekdayTextFormat(Qt::DayOfWeek(*c.weekend.begin())).foreground();
        for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
            EXPECT_EQ(calendar.weekdayTextFormat(Qt::DayOfWeek(day)).foreground() == marked,
                      c.weekend.contains(day))
                << day;
        }
    }
    qunsetenv("LC_TIME");
}

}  // namespace
}  // namespace vorelt
