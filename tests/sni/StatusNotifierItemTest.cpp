#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QThread>

#include <gtest/gtest.h>

#include "../TestSupport.h"
#include "../support/TestWatcher.h"
#include "menubar/AppDelegate.h"
#include "platform/app/ServiceManagement.h"
#include "platform/foundation/Timer.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/tray/StatusNotifierItem.h"
#include "platform/statusbar/tray/StatusNotifierTray.h"
#include "platform/statusbar/tray/StatusNotifierWatcherTracker.h"
#include "platform/ui/Event.h"
#include "platform/ui/Popover.h"

namespace vorelt {
namespace {

constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";

// Puts a watcher on the session bus and takes it off again, as a panel does when it restarts. It
// answers from a thread of its own: the clock asks it a blocking question at start-up.
class WatcherOnBus {
public:
    WatcherOnBus() {
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
    // Every item registered so far, with this watcher or an earlier one.
    QStringList items() const { return watcher_.items(); }

private:
    static constexpr const char* kName = "test-watcher";
    QThread thread_;
    TestWatcher watcher_;
};

// The panel's host: reads an item's properties, calls its methods, hears its label. Its calls run
// the event loop while they wait, since the item answers on this same thread.
class TestHost : public QObject {
    Q_OBJECT

public:
    QDBusMessage call(const QString& service, const QString& method, const QVariantList& arguments,
                      const QString& interface = kItemInterface) {
        auto message =
            QDBusMessage::createMethodCall(service, "/StatusNotifierItem", interface, method);
        message.setArguments(arguments);
        return QDBusConnection::sessionBus().call(message, QDBus::BlockWithGui);
    }
    QVariant property(const QString& service, const QString& name) {
        const QDBusMessage reply = call(service, "Get", {QString(kItemInterface), name},
                                        "org.freedesktop.DBus.Properties");
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    template <typename T>
    T demarshal(const QString& service, const QString& name) {
        return qdbus_cast<T>(property(service, name).value<QDBusArgument>());
    }
    // A left click as GNOME Shell's AppIndicator extension (GNOME 43) gives it: an item with any
    // menu path, /NO_DBUSMENU included, gets that menu toggled, and Activate only on a double
    // click.
    void clickAsGnomeShell(const QString& service) {
        const QDBusMessage all =
            call(service, "GetAll", {QString(kItemInterface)}, "org.freedesktop.DBus.Properties");
        if (!qdbus_cast<QVariantMap>(all.arguments().value(0)).contains("Menu")) {
            call(service, "Activate", {600, 14});
        }
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
    EXPECT_EQ(StatusNotifierItem::guideFor(QString::fromUtf8("\u0968\u0966 \u00bd")),
              QString::fromUtf8("\u0966\u0966 \u00bd"));
}

// The application as launched, with the system status bar in the panel.
class LaunchedInPanel : public testing::Test {
protected:
    void SetUp() override {
        watcher.start(true);
        Event::useSubstituteSource(true);
        StatusBar::systemStatusBar()->setHost(std::make_unique<StatusNotifierTray>());
        Application::sharedApplication()->setDelegate(delegate);
        setLoginItemServiceForTesting([](std::string_view) { return true; });
        delegate->applicationDidFinishLaunching(nullptr);
        ASSERT_TRUE(test::waitFor([this] { return watcher.items().size() == 1; }));
    }
    void TearDown() override {
        delegate->closePopover(nullptr);
        delegate->applicationWillTerminate(nullptr);
        StatusBar::systemStatusBar()->removeStatusItem(delegate->statusItem);
        Application::sharedApplication()->setDelegate(nullptr);
        setLoginItemServiceForTesting({});
        StatusBar::systemStatusBar()->setHost(std::make_unique<test::RecordingHost>());
        Event::useSubstituteSource(false);
    }
    QString service() const { return watcher.items().last(); }
    bool shown() const { return delegate->popover->isShown(); }

    test::TemporaryConfigHome home;
    test::ManualClock clock{test::kMondayAfterMidnight};
    WatcherOnBus watcher;
    TestHost host;
    std::shared_ptr<AppDelegate> delegate = std::make_shared<AppDelegate>();
};

TEST_F(LaunchedInPanel, TheLabelFollowsEveryChangeOfTheTextBesideAClockFace) {
    delegate->timer->invalidate();
    const auto item = delegate->statusItem;
    host.listen(service());
    // A placeholder replaced in the same turn of the event loop never reaches the panel.
    item->button()->setTitle("Time");
    item->button()->setTitle("12:05");
    ASSERT_TRUE(test::waitFor([&] { return host.labels.size() == 2; }));
    EXPECT_EQ(host.property(service(), "XAyatanaLabel").toString(), "12:05");
    // Xfce's systray shows the text only in the tool tip.
    EXPECT_EQ(host.demarshal<StatusNotifierToolTip>(service(), "ToolTip").title, "12:05");
    item->setLength(80);  // the host hears of it, the text is the same
    item->button()->setTitle("12:06");
    ASSERT_TRUE(test::waitFor([&] { return host.labels.size() >= 4; }));
    item->button()->setTitle("");
    ASSERT_TRUE(test::waitFor([&] { return host.labels.size() >= 6; }));
    test::runEventLoopFor(50);
    EXPECT_EQ(host.labels,
              (QStringList{"12:05|00:00", "tool tip", "12:06|00:00", "tool tip", "|", "tool tip"}));

    // With no text there is still an icon to click.
    EXPECT_EQ(host.property(service(), "Status").toString(), "Active");
    const auto pixmaps = host.demarshal<QList<StatusNotifierPixmap>>(service(), "IconPixmap");
    for (const auto& pixmap : pixmaps) {
        ASSERT_EQ(pixmap.bytes.size(), pixmap.width * pixmap.height * 4);
        // Alpha, red, green, blue: a corner outside the face is clear, the face is light.
        const auto* middle = reinterpret_cast<const uchar*>(pixmap.bytes.constData()) +
                             (pixmap.height * 3 / 4 * pixmap.width + pixmap.width / 2) * 4;
        EXPECT_EQ(uchar(pixmap.bytes[0]), 0);
        EXPECT_EQ(middle[0], 255);
        EXPECT_GT(middle[1], 200);
    }
    EXPECT_FALSE(pixmaps.isEmpty());
}

TEST_F(LaunchedInPanel, EverySingleClickOnThePanelsItemTogglesThePopoverBelowThePoint) {
    for (int i = 0; i < 4; ++i) {
        host.clickAsGnomeShell(service());
        EXPECT_EQ(shown(), i % 2 == 0) << "GNOME Shell, click " << i + 1;
    }
    host.call(service(), "ContextMenu", {400, 30});
    ASSERT_TRUE(shown());
    const Rect frame = delegate->popover->frameOnScreen();
    EXPECT_EQ(frame.y, 31);
    EXPECT_NEAR(frame.x + frame.width / 2, 400, 1);
    host.call(service(), "SecondaryActivate", {10, 10});
    host.call(service(), "Scroll", {3, QString("vertical")});
    EXPECT_TRUE(shown()) << "neither clicks";
}

// A panel restarted: the clock goes to a bar of its own and back, with its popover.
TEST_F(LaunchedInPanel, ThePanelGoingAndComingBackKeepsThePopover) {
    StatusNotifierWatcherTracker tracker(
        [](bool tray) -> std::unique_ptr<StatusBarHost> {
            if (tray) {
                return std::make_unique<StatusNotifierTray>();
            }
            return std::make_unique<test::RecordingHost>();
        },
        [](std::unique_ptr<StatusBarHost> next) {
            StatusBar::systemStatusBar()->setHost(std::move(next));
        },
        [](bool hostRegistered, const std::string&) { return hostRegistered; });
    StatusBar::systemStatusBar()->setHost(tracker.currentHost());
    ASSERT_TRUE(test::waitFor([this] { return watcher.items().size() == 2; }));
    host.call(service(), "Activate", {400, 30});
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
    EXPECT_EQ(host.property(service(), "XAyatanaLabel").toString(), "Mon Dec 29  12:06 AM");
    host.call(service(), "Activate", {400, 30});
    EXPECT_FALSE(shown()) << "the popover was still known to be open";
}

// Without a display, Vorelt's own place is standard output.
TEST(PanelAtStartUp, TheBarGoesToThePanelOnlyWhenItHasARegisteredHostAndShowsLabels) {
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    const auto inTray = [] {
        StatusBar bar;
        return dynamic_cast<StatusNotifierTray*>(&bar.host()) != nullptr;
    };
    EXPECT_FALSE(inTray()) << "no watcher";
    WatcherOnBus watcher;
    watcher.start(false);
    EXPECT_FALSE(inTray()) << "a watcher without a host";
    watcher.start(true);
    EXPECT_TRUE(inTray());
    qunsetenv("XDG_CURRENT_DESKTOP");
}

}  // namespace
}  // namespace vorelt

#include "StatusNotifierItemTest.moc"
