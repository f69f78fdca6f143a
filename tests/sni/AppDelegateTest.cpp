#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QGuiApplication>
#include <QTextCharFormat>
#include <QThread>

#include <set>

#include "../TestSupport.h"
#include "../support/TestWatcher.h"
#include "menubar/AppDelegate.h"
#include "menubar/EventMonitor.h"
#include "platform/foundation/Timer.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/tray/DBusMenuLayoutItem.h"
#include "platform/statusbar/tray/StatusNotifierAppletTray.h"
#include "platform/statusbar/tray/StatusNotifierItem.h"
#include "platform/statusbar/tray/StatusNotifierTray.h"
#include "platform/statusbar/tray/StatusNotifierWatcherTracker.h"
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
    void SetUp() override { install(std::make_unique<test::RecordingHost>()); }
    void install(std::unique_ptr<StatusBarHost> bar) {
        Event::setGlobalEventSource(outside);
        QGuiApplication::setDesktopFileName("io.github.vorelt.Vorelt");
        StatusBar::systemStatusBar()->setHost(std::move(bar));
        // The title when the launcher is registered; its name is the autostart test's.
        delegate = std::make_shared<AppDelegate>(
            Services{clock.clock(), Workspace::sharedWorkspace(), [this](const LoginItem&) {
                         titlesAtRegistration.push_back(title());
                         return true;
                     }});
        Application::sharedApplication()->setDelegate(delegate);
    }
    void TearDown() override {
        delegate->closePopover(nullptr);
        delegate->applicationWillTerminate(nullptr);
        StatusBar::systemStatusBar()->removeStatusItem(delegate->statusItem);
        Application::sharedApplication()->setDelegate(nullptr);
        StatusBar::systemStatusBar()->setHost(std::make_unique<test::RecordingHost>());
        Event::setGlobalEventSource({});
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
    const std::shared_ptr<test::SubstituteEventSource> outside =
        std::make_shared<test::SubstituteEventSource>();
    std::shared_ptr<AppDelegate> delegate;
    std::shared_ptr<UserDefaults> store = UserDefaults::standardUserDefaults();
    std::vector<std::string> titlesAtRegistration;
};

TEST_F(Launched, LaunchRegistersTheLauncherFirstEvenWhenTheUserSaidNoAndWritesNothing) {
    store->setBool(false, "shouldAutoLaunch");
    const QByteArray stored = home.readStore();
    launch();
    EXPECT_EQ(titlesAtRegistration, std::vector<std::string>{""}) << "before the placeholder";
    const auto& bar = dynamic_cast<test::RecordingHost&>(StatusBar::systemStatusBar()->host());
    EXPECT_EQ(bar.titles, (std::vector<std::string>{"Time", "Mon Dec 29  12:05 AM"}));
    EXPECT_EQ(home.readStore(), stored) << "the clock never writes the store";
    EXPECT_FALSE(shown() || monitoring());
    EXPECT_FALSE(calendar().isViewLoaded()) << "the popover's view loads when first needed";
    store->setObject("", "dateFormat");
    EXPECT_EQ(tick(), "") << "a stored empty pattern is used as it is";
    home.writeStore("[General]\n");  // the key removed by hand
    ASSERT_TRUE(test::waitFor([&] { return !store->stringForKey("dateFormat"); }));
    EXPECT_EQ(tick(), "Mon Dec 29  12:05 AM");
}

TEST_F(Launched, FlashingBlanksEveryColonOnAlternateTicksFromLaunch) {
    store->setObject("HH:mm:ss 'at:'", "dateFormat");
    store->setBool(true, "shouldFlashSeparator");
    launch();
    EXPECT_EQ(title(), "00 05 09 at ");
    EXPECT_EQ(tick(), "00:05:10 at:");
    EXPECT_EQ(tick(), "00 05 11 at ");
    store->setBool(false, "shouldFlashSeparator");
    EXPECT_EQ(tick(), "00:05:12 at:") << "off while blanked: the colons come back";
    store->setBool(true, "shouldFlashSeparator");
    EXPECT_EQ(tick(), "00:05:13 at:") << "on again: the colons first";
    EXPECT_EQ(tick(), "00 05 14 at ");
}

TEST_F(Launched, StartingAMonitorAgainReplacesTheInstalledOneAndDestroyingRemovesIt) {
    int calls = 0;
    {
        EventMonitor monitor(Event::LeftMouseDownMask, [&calls](const auto&) { ++calls; });
        monitor.start();
        monitor.start();
        outside->press(Event::LeftMouseDown);
        EXPECT_EQ(calls, 1);
    }
    outside->press(Event::LeftMouseDown);
    EXPECT_EQ(calls, 1);
}

// Which presses outside close the popover is the end-to-end tests'.
TEST_F(Launched, PopoverShowsTheFullDateAsOfItsOpening) {
    launch();
    store->setObject("HH:mm", "dateFormat");
    const Event::Handler outside = delegate->eventMonitor->handler;
    outside(std::make_shared<Event>(Event::LeftMouseDown, Point{}));  // closed: nothing opens
    EXPECT_FALSE(shown());
    clickItem();
    EXPECT_EQ(calendar().timeLabel()->stringValue(), "Monday, December 29, 2025");
    // Past midnight while open: nothing changes until it opens again.
    clock.advance(24 * 3600);
    delegate->updateMenuTime();
    EXPECT_EQ(calendar().timeLabel()->stringValue(), "Monday, December 29, 2025");
    calendar().datePicker()->setDateValue(Date(0));  // the user picks a day: never read back
    outside(nullptr);  // no event at all still closes it, and its monitor stops
    EXPECT_FALSE(shown() || monitoring());
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
    const auto marked = [&calendar](Qt::DayOfWeek day) {
        return calendar.weekdayTextFormat(day).foreground() !=
               calendar.weekdayTextFormat(Qt::Wednesday).foreground();
    };
    EXPECT_TRUE(marked(Qt::Friday) && marked(Qt::Saturday) && !marked(Qt::Sunday));
    qunsetenv("LC_TIME");
}

constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";

// Puts a watcher on the session bus and takes it off again, as a panel does when it restarts. It
// answers from a thread of its own: the clock asks it a blocking question at start-up.
class WatcherOnBus {
public:
    WatcherOnBus() {
        QObject::connect(&watcher_, &TestWatcher::StatusNotifierItemRegistered, &items_,
                         [this](const QString& service) { registered_ << service; });
        watcher_.moveToThread(&thread_);
        thread_.start();
    }
    ~WatcherOnBus() {
        stop();
        thread_.quit();
        thread_.wait();
    }
    void start(bool hostRegistered) {
        stop();
        watcher_.setHostRegistered(hostRegistered);
        QMetaObject::invokeMethod(
            &watcher_,
            [this] {
                QDBusConnection bus =
                    QDBusConnection::connectToBus(QDBusConnection::SessionBus, kName);
                bus.registerObject("/StatusNotifierWatcher", &watcher_,
                                   QDBusConnection::ExportAllContents);
                bus.registerService("org.kde.StatusNotifierWatcher");
            },
            Qt::BlockingQueuedConnection);
    }
    void stop() { QDBusConnection::disconnectFromBus(kName); }
    // A panel's host comes up after its watcher.
    void registerHost() {
        watcher_.setHostRegistered(true);
        QMetaObject::invokeMethod(
            &watcher_, [this] { Q_EMIT watcher_.StatusNotifierHostRegistered(); },
            Qt::BlockingQueuedConnection);
    }
    void dropItems(bool drops) { watcher_.setDropsItems(drops); }
    // Every item registered so far, with this watcher or an earlier one, as the event loop heard.
    QStringList items() const { return registered_; }

private:
    static constexpr const char* kName = "test-watcher";
    QThread thread_;
    TestWatcher watcher_;
    QObject items_;  // on the test's thread, where the registrations are counted
    QStringList registered_;
};

// The panel's host: reads an item's properties, calls its methods, hears its label. Its calls run
// the event loop while they wait, since the item answers on this same thread.
class TestHost : public QObject {
    Q_OBJECT

public:
    QDBusMessage call(const QString& service, const QString& method, const QVariantList& arguments,
                      const QString& interface = kItemInterface,
                      const QString& path = "/StatusNotifierItem") {
        auto message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        return QDBusConnection::sessionBus().call(message, QDBus::BlockWithGui);
    }
    QVariant property(const QString& service, const QString& name) {
        const QDBusMessage reply = call(service, "Get", {QString(kItemInterface), name},
                                        "org.freedesktop.DBus.Properties");
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    // The item's menu as the panel reads it: the root's entries' labels, "-" for a separator.
    QStringList menu(const QString& service) {
        const QDBusMessage reply = call(service, "GetLayout", {0, -1, QStringList()},
                                        "com.canonical.dbusmenu", "/MenuBar");
        DBusMenuLayoutItem root;
        reply.arguments().value(1).value<QDBusArgument>() >> root;
        QStringList labels;
        for (const DBusMenuLayoutItem& entry : root.children) {
            labels << entry.properties.value("label", "-").toString();
        }
        return labels;
    }
    void choose(const QString& service, int entry) {
        call(service, "Event",
             {entry, QString("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u},
             "com.canonical.dbusmenu", "/MenuBar");
    }
    // The label and the tool tip, in the order they are announced.
    void listen(const QString& service) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.connect(service, "/StatusNotifierItem", kItemInterface, "XAyatanaNewLabel", this,
                    SLOT(newLabel(QString, QString)));
        bus.connect(service, "/StatusNotifierItem", kItemInterface, "NewToolTip", this,
                    SLOT(newToolTip()));
    }

    QStringList labels;

private Q_SLOTS:
    void newLabel(const QString& label, const QString& guide) { labels << label + "|" + guide; }
    void newToolTip() { labels << "tool tip"; }
};

TEST(StatusNotifierGuide, EveryDigitBecomesTheZeroOfItsOwnDigits) {
    EXPECT_EQ(StatusNotifierItem::guideFor("Mon 29 Dec 2025 7:45:09 PM"),
              "Mon 00 Dec 0000 0:00:00 PM");
    EXPECT_EQ(StatusNotifierItem::guideFor(QString::fromUtf8("\u0661\u0662:\u0663\u0669")),
              QString::fromUtf8("\u0660\u0660:\u0660\u0660"));
}

// The application as launched, with the system status bar in the panel.
class LaunchedInPanel : public Launched {
protected:
    void SetUp() override {
        watcher.start(true);
        install(panelHost());
        launch();
        ASSERT_TRUE(test::waitFor([this] { return watcher.items().size() == 1; }));
    }
    QString service() const { return watcher.items().last(); }
    virtual std::unique_ptr<StatusBarHost> panelHost() {
        return std::make_unique<StatusNotifierTray>();
    }

    WatcherOnBus watcher;
    TestHost panel;
};

TEST_F(LaunchedInPanel, TheLabelFollowsEveryChangeOfTheTextBesideAClockFace) {
    delegate->timer->invalidate();
    const auto item = delegate->statusItem;
    panel.listen(service());
    // A placeholder replaced in the same turn of the event loop never reaches the panel.
    item->button()->setTitle("Time");
    item->button()->setTitle("12:05");
    ASSERT_TRUE(test::waitFor([&] { return panel.labels.size() == 1; }));
    // Beside the label, no tool tip that would stay at its first text.
    const auto toolTipTitle = [&] {
        const auto tip = panel.property(service(), "ToolTip").value<QDBusArgument>();
        return qdbus_cast<StatusNotifierToolTip>(tip).title;
    };
    EXPECT_EQ(toolTipTitle(), "");
    item->setLength(80);  // the host hears of it, the text is the same
    item->button()->setTitle("12:06");
    ASSERT_TRUE(test::waitFor([&] { return panel.labels.size() >= 2; }));
    item->button()->setTitle("");
    ASSERT_TRUE(test::waitFor([&] { return panel.labels.size() >= 3; }));
    test::runEventLoopFor(50);
    // A panel that shows the label hears of nothing else.
    EXPECT_EQ(panel.labels, (QStringList{"12:05|00:00", "12:06|00:00", "|"}));

    // With no text there is still an icon to click.
    EXPECT_EQ(panel.property(service(), "Status").toString(), "Active");
    const auto icon = panel.property(service(), "IconPixmap").value<QDBusArgument>();
    const auto pixmaps = qdbus_cast<QList<StatusNotifierPixmap>>(icon);
    ASSERT_FALSE(pixmaps.isEmpty());
    const auto& pixmap = pixmaps.front();
    ASSERT_EQ(pixmap.bytes.size(), pixmap.width * pixmap.height * 4);
    // Alpha, red, green, blue: a corner outside the face is clear, the face is light.
    const auto* middle = reinterpret_cast<const uchar*>(pixmap.bytes.constData()) +
                         (pixmap.height * 3 / 4 * pixmap.width + pixmap.width / 2) * 4;
    EXPECT_EQ(uchar(pixmap.bytes[0]), 0);
    EXPECT_EQ(middle[0], 255);
    EXPECT_GT(middle[1], 200);

    // One that shows only the icon hears of a new tool tip.
    StatusBar::systemStatusBar()->setHost(std::make_unique<StatusNotifierTray>(false));
    ASSERT_TRUE(test::waitFor([this] { return watcher.items().size() == 2; }));
    panel.listen(service());
    item->button()->setTitle("12:07");
    ASSERT_TRUE(test::waitFor([&] { return panel.labels.size() >= 4; }));
    test::runEventLoopFor(50);
    EXPECT_EQ(panel.labels.mid(3), QStringList{"tool tip"});
    // Xfce's systray shows the text only in the tool tip.
    EXPECT_EQ(toolTipTitle(), "12:07");
}

// Every property answers: a panel that misses one may refuse the item. The menu opens the popover,
// the settings and quits; the clicks that reach the item toggle the popover.
TEST_F(LaunchedInPanel, EveryPropertyAnswersAndTheMenuAndEveryClickReachThePopover) {
    const QDBusMessage all = panel.call(service(), "GetAll", {QString(kItemInterface)},
                                        "org.freedesktop.DBus.Properties");
    const auto properties = qdbus_cast<QVariantMap>(all.arguments().value(0));
    EXPECT_EQ(properties.keys().size(), 19) << properties.keys().join(' ').toStdString();
    EXPECT_EQ(properties.value("Menu").value<QDBusObjectPath>().path(), "/MenuBar");
    EXPECT_EQ(properties.value("IconName").toString(), "io.github.vorelt.Vorelt");
    EXPECT_EQ(properties.value("Title").toString(), "Vorelt") << "the name the clock gave itself";
    EXPECT_FALSE(properties.value("ItemIsMenu").toBool());

    EXPECT_EQ(panel.menu(service()),
              (QStringList{"Monday, December 29, 2025", "-", "Settings", "Quit"}));
    clock.advance(24 * 3600);
    const QDBusMessage opening =
        panel.call(service(), "AboutToShow", {0}, "com.canonical.dbusmenu", "/MenuBar");
    EXPECT_TRUE(opening.arguments().value(0).toBool()) << "the date changed: read it again";
    EXPECT_EQ(panel.menu(service()).value(0), "Tuesday, December 30, 2025");
    panel.choose(service(), 1);
    ASSERT_TRUE(test::waitFor([this] { return shown(); }));
    EXPECT_EQ(calendar().timeLabel()->stringValue(), "Tuesday, December 30, 2025");
    panel.choose(service(), 1);
    test::runEventLoopFor(20);
    EXPECT_TRUE(shown()) << "the date opens it, never closes it";

    // A double click, a middle click: each toggles it.
    panel.call(service(), "Activate", {1200, 14});
    EXPECT_FALSE(shown());
    panel.call(service(), "XAyatanaSecondaryActivate", {0u});
    EXPECT_TRUE(shown());
    panel.call(service(), "SecondaryActivate", {1200, 14});
    EXPECT_FALSE(shown());
    panel.call(service(), "Scroll", {3, QString("vertical")});
    EXPECT_FALSE(shown());

    int terminations = 0;
    Application::sharedApplication()->setTerminationHandler([&terminations] { ++terminations; });
    panel.choose(service(), 3);
    ASSERT_TRUE(test::waitFor([] { return !WindowController::openWindows().empty(); }));
    EXPECT_EQ(WindowController::openWindows().front()->windowNibName(), "SettingsWindowController");
    WindowController::releaseOpenWindows();
    panel.choose(service(), 4);
    EXPECT_TRUE(test::waitFor([&] { return terminations == 1; }));
    Application::sharedApplication()->setTerminationHandler({});
}

// A panel that drops the item: the clock goes to its own host, and back into the tray when the
// panel's hosts change.
TEST_F(LaunchedInPanel, ATrayThatDropsTheItemIsLeftUntilItsHostsChange) {
    std::unique_ptr<StatusNotifierWatcherTracker> tracker;
    tracker = std::make_unique<StatusNotifierWatcherTracker>(
        [&tracker](bool tray) -> std::unique_ptr<StatusBarHost> {
            if (!tray) {
                return std::make_unique<test::RecordingHost>();
            }
            return std::make_unique<StatusNotifierTray>(
                true, [&tracker](const std::string&) { tracker->trayRefused(); });
        },
        [](std::unique_ptr<StatusBarHost> next) {
            StatusBar::systemStatusBar()->setHost(std::move(next));
        },
        [](bool hostRegistered, const std::string&) { return hostRegistered; });
    watcher.dropItems(true);
    StatusBar::systemStatusBar()->setHost(tracker->currentHost());
    ASSERT_TRUE(tracker->inPanel());
    ASSERT_TRUE(test::waitFor([&] { return !tracker->inPanel(); }));
    EXPECT_NE(dynamic_cast<test::RecordingHost*>(&StatusBar::systemStatusBar()->host()), nullptr);

    watcher.dropItems(false);
    watcher.registerHost();
    ASSERT_TRUE(test::waitFor([&] { return tracker->inPanel() && watcher.items().size() == 3; }));
    test::runEventLoopFor(100);
    EXPECT_TRUE(tracker->inPanel());
    tracker.reset();
}

// Vorelt's applet in Plasma's panel reports through a connection of its own: while it does, the
// clock's own bar is down and its tray icon passive, and a click on the applet opens the popover
// next to it, past the panel's edge. When the applet's program leaves the bus, the bar comes back.
class LaunchedBesidePlasmasApplet : public LaunchedInPanel {
protected:
    std::unique_ptr<StatusBarHost> panelHost() override {
        tray = new StatusNotifierAppletTray([] { return std::make_unique<test::RecordingHost>(); });
        return std::unique_ptr<StatusBarHost>(tray);
    }
    StatusNotifierAppletTray* tray = nullptr;
};

TEST_F(LaunchedBesidePlasmasApplet, WhileTheAppletShowsTheClockItsBarIsDown) {
    const QString item = service();
    EXPECT_EQ(panel.property(item, "Status").toString(), "Passive");
    ASSERT_NE(tray->bar(), nullptr);

    QDBusConnection applet = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "applet");
    const auto send = [&](const QString& method, const QVariantList& arguments) {
        auto message =
            QDBusMessage::createMethodCall(item, "/StatusNotifierItem", kItemInterface, method);
        message.setArguments(arguments);
        applet.call(message, QDBus::BlockWithGui);
    };
    const auto clickAt = [&](int x, int y) {
        send("Activate", {x, y});
        EXPECT_TRUE(shown());
        const Rect frame = delegate->popover->frameOnScreen();
        delegate->closePopover(nullptr);
        return frame;
    };
    send("Scroll", {0, QString("vorelt-applet bottom 100 560 120 40")});
    EXPECT_EQ(tray->bar(), nullptr);
    Rect popover = clickAt(160, 580);
    EXPECT_EQ(popover.y + popover.height, 560);
    EXPECT_TRUE(popover.x < 160 && 160 < popover.x + popover.width);
    send("Scroll", {0, QString("vorelt-applet left 0 100 44 60")});
    popover = clickAt(22, 130);
    EXPECT_EQ(popover.x, 44);
    EXPECT_TRUE(popover.y < 130 && 130 < popover.y + popover.height);
    send("Scroll", {0, QString("vorelt-applet right 756 100 44 60")});
    popover = clickAt(778, 130);
    EXPECT_EQ(popover.x + popover.width, 756);

    applet = QDBusConnection(QString());  // the last reference: the connection closes
    QDBusConnection::disconnectFromBus("applet");
    EXPECT_TRUE(test::waitFor([&] { return tray->bar() != nullptr; }));
}

// A panel restarted: the clock goes to a bar of its own and back, with its popover.
TEST_F(LaunchedInPanel, ThePanelGoingAndComingBackKeepsThePopover) {
    StatusNotifierWatcherTracker tracker(
        [](bool tray) {
            return tray ? std::unique_ptr<StatusBarHost>(std::make_unique<StatusNotifierTray>())
                        : std::make_unique<test::RecordingHost>();
        },
        [](std::unique_ptr<StatusBarHost> next) {
            StatusBar::systemStatusBar()->setHost(std::move(next));
        },
        [](bool hostRegistered, const std::string&) { return hostRegistered; });
    StatusBar::systemStatusBar()->setHost(tracker.currentHost());
    ASSERT_TRUE(test::waitFor([this] { return watcher.items().size() == 2; }));
    panel.call(service(), "Activate", {400, 30});
    ASSERT_TRUE(shown());

    // The title in the bar it goes to is the endings test's. The item leaves the bus.
    const QString item = service();
    watcher.stop();
    ASSERT_TRUE(test::waitFor([&] { return !tracker.inPanel(); }));
    EXPECT_TRUE(test::waitFor(
        [&] { return !QDBusConnection::sessionBus().interface()->isServiceRegistered(item); }));
    EXPECT_TRUE(shown());
    EXPECT_EQ(delegate->statusItem->frameOnScreen(), (Rect{900, 0, 120, 24}));

    // A panel that starts its watcher before its host: only the host brings the item back.
    watcher.start(false);
    test::runEventLoopFor(200);
    EXPECT_EQ(watcher.items().size(), 2);
    clock.advance(60);
    delegate->updateMenuTime();
    watcher.registerHost();
    ASSERT_TRUE(test::waitFor([this] { return watcher.items().size() == 3; }));
    EXPECT_EQ(panel.property(service(), "XAyatanaLabel").toString(), "Mon Dec 29  12:06 AM");
    panel.call(service(), "Activate", {400, 30});
    EXPECT_FALSE(shown()) << "the popover was still known to be open";
}

// Without a display, Vorelt's own place is standard output.
TEST(PanelAtStartUp, TheBarGoesToThePanelOnlyWhenItHasARegisteredHostAndShowsLabels) {
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    const auto inTray = [] {
        StatusBar bar;
        return dynamic_cast<StatusNotifierTray*>(&bar.host()) != nullptr;
    };
    WatcherOnBus watcher;
    watcher.start(false);
    EXPECT_FALSE(inTray()) << "a watcher without a host";
    watcher.start(true);
    EXPECT_TRUE(inTray());
    qunsetenv("XDG_CURRENT_DESKTOP");
}

}  // namespace
}  // namespace vorelt

#include "AppDelegateTest.moc"
