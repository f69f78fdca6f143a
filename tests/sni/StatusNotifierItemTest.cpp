#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QRect>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>

#include "../TestSupport.h"
#include "../support/TestWatcher.h"
#include "menubar/AppDelegate.h"
#include "model/Identifiers.h"
#include "platform/app/ServiceManagement.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusLine.h"
#include "platform/statusbar/tray/StatusNotifierItem.h"
#include "platform/statusbar/tray/StatusNotifierPixmap.h"
#include "platform/statusbar/tray/StatusNotifierToolTip.h"
#include "platform/statusbar/tray/StatusNotifierTray.h"
#include "platform/statusbar/tray/StatusNotifierWatcherTracker.h"
#include "platform/ui/Event.h"
#include "platform/ui/Popover.h"

namespace vorelt {
namespace {

constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";

// Puts a watcher on the session bus and takes it off again, as a panel does when it restarts.
class WatcherOnBus {
public:
    WatcherOnBus() { thread_.start(); }
    ~WatcherOnBus() {
        stop();
        thread_.quit();
        thread_.wait();
    }
    void start(bool hostRegistered) {
        stop();
        watcher_ = new TestWatcher;
        watcher_->setHostRegistered(hostRegistered);
        watcher_->moveToThread(&thread_);
        // Registered from its own thread, where the bus creates what it needs for it.
        bool registered = false;
        QMetaObject::invokeMethod(
            watcher_,
            [w = watcher_, &registered] {
                QDBusConnection bus =
                    QDBusConnection::connectToBus(QDBusConnection::SessionBus, kName);
                registered = bus.registerObject("/StatusNotifierWatcher", w,
                                                QDBusConnection::ExportAllContents) &&
                             bus.registerService("org.kde.StatusNotifierWatcher");
            },
            Qt::BlockingQueuedConnection);
        ASSERT_TRUE(registered);
    }
    void stop() {
        if (watcher_ == nullptr) {
            return;
        }
        QDBusConnection bus(kName);
        bus.unregisterService("org.kde.StatusNotifierWatcher");
        bus.unregisterObject("/StatusNotifierWatcher");
        QDBusConnection::disconnectFromBus(kName);
        QMetaObject::invokeMethod(watcher_, &QObject::deleteLater);
        watcher_ = nullptr;
    }
    // A panel's host comes up after its watcher.
    void registerHost() {
        watcher_->setHostRegistered(true);
        QMetaObject::invokeMethod(
            watcher_, [w = watcher_] { Q_EMIT w->StatusNotifierHostRegistered(); },
            Qt::BlockingQueuedConnection);
    }
    QStringList items() const { return watcher_ ? watcher_->items() : QStringList(); }
    QStringList senders() const { return watcher_ ? watcher_->senders() : QStringList(); }

private:
    static constexpr const char* kName = "test-watcher";
    QThread thread_;
    TestWatcher* watcher_ = nullptr;
};

// The panel's host: reads an item's properties, calls its methods, hears its signals. Its calls
// never block, since the item answers on this same thread.
class TestHost : public QObject {
    Q_OBJECT

public:
    TestHost() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kName)) {}
    ~TestHost() override { QDBusConnection::disconnectFromBus(kName); }

    QDBusMessage call(const QString& service, const QString& interface, const QString& method,
                      const QVariantList& arguments) {
        auto message =
            QDBusMessage::createMethodCall(service, "/StatusNotifierItem", interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = bus_.asyncCall(message);
        EXPECT_TRUE(test::waitFor([&pending] { return pending.isFinished(); }));
        return pending.reply();
    }
    QVariant property(const QString& service, const QString& name) {
        const QDBusMessage reply = call(service, "org.freedesktop.DBus.Properties", "Get",
                                        {QString(kItemInterface), name});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << name.toStdString();
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    QDBusMessage activate(const QString& service, const QString& method, int x, int y) {
        return call(service, kItemInterface, method, {x, y});
    }
    // A left click as GNOME Shell's AppIndicator extension (GNOME 43) gives it: an item with any
    // menu path, /NO_DBUSMENU included, gets that menu toggled, and Activate only on a double
    // click.
    void clickAsGnomeShell(const QString& service) {
        const QDBusMessage all =
            call(service, "org.freedesktop.DBus.Properties", "GetAll", {QString(kItemInterface)});
        if (qdbus_cast<QVariantMap>(all.arguments().value(0)).contains("Menu")) {
            ++menusToggled;
            return;
        }
        activate(service, "Activate", 600, 14);
    }
    void listen(const QString& service) {
        bus_.connect(service, "/StatusNotifierItem", kItemInterface, "XAyatanaNewLabel", this,
                     SLOT(newLabel(QString, QString)));
        bus_.connect(service, "/StatusNotifierItem", kItemInterface, "NewToolTip", this,
                     SLOT(newToolTip()));
    }
    bool isOnBus(const QString& service) const {
        return bus_.interface()->isServiceRegistered(service);
    }
    QString ownerOf(const QString& service) const {
        return bus_.interface()->serviceOwner(service);
    }

    std::vector<std::pair<QString, QString>> labels;
    int toolTips = 0;
    int menusToggled = 0;

private Q_SLOTS:
    void newLabel(const QString& label, const QString& guide) { labels.emplace_back(label, guide); }
    void newToolTip() { ++toolTips; }

private:
    static constexpr const char* kName = "test-host";
    QDBusConnection bus_;
};

template <typename T>
T demarshal(const QVariant& value) {
    return qdbus_cast<T>(value.value<QDBusArgument>());
}

// The alpha, red, green and blue of one pixel, in the order they are sent.
std::array<uchar, 4> pixelAt(const StatusNotifierPixmap& pixmap, int x, int y) {
    const auto* p = reinterpret_cast<const uchar*>(pixmap.bytes.constData()) +
                    (static_cast<qsizetype>(y) * pixmap.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// A bar of Vorelt's own, as the tracker makes it when the panel goes: remembers the title it
// was given.
class OwnBar : public StatusBarHost {
public:
    explicit OwnBar(std::vector<std::string>& shown) : shown_(shown) {}
    void addItem(StatusItem& item) override { shown_.push_back(item.button()->title()); }
    void removeItem(StatusItem&) override {}
    void itemChanged(StatusItem& item) override { shown_.push_back(item.button()->title()); }
    Rect screenFrameOfItem(const StatusItem&) const override { return Rect{700, 0, 90, 24}; }

private:
    std::vector<std::string>& shown_;
};

class PanelTray : public testing::Test {
protected:
    void SetUp() override { watcher.start(true); }
    void TearDown() override {
        for (const auto& item : bar.items()) {
            bar.removeStatusItem(item);
        }
    }
    std::shared_ptr<StatusItem> publish() {
        if (dynamic_cast<StatusNotifierTray*>(&bar.host()) == nullptr) {
            bar.setHost(std::make_unique<StatusNotifierTray>());
        }
        const auto before = watcher.items().size();
        auto item = bar.statusItemWithLength(StatusBar::VariableStatusItemLength);
        EXPECT_TRUE(test::waitFor([&] { return watcher.items().size() == before + 1; }));
        return item;
    }
    QString serviceOf(const StatusItem& item) {
        auto* tray = dynamic_cast<StatusNotifierTray*>(&bar.host());
        return tray && tray->publishedItem(item) ? tray->publishedItem(item)->serviceName()
                                                 : QString();
    }

    WatcherOnBus watcher;
    TestHost host;
    StatusBar bar;
};

TEST_F(PanelTray, EachItemRegistersUnderANameOfItsOwnAndLeavesTheBusWhenRemoved) {
    const auto first = publish();
    const auto second = publish();
    const QRegularExpression pattern(
        QStringLiteral("^org\\.kde\\.StatusNotifierItem-%1-\\d+$").arg(::getpid()));
    ASSERT_EQ(watcher.items().size(), 2);
    EXPECT_EQ(watcher.items(), (QStringList{serviceOf(*first), serviceOf(*second)}));
    EXPECT_NE(watcher.items()[0], watcher.items()[1]);
    for (int i = 0; i < 2; ++i) {
        const QString service = watcher.items()[i];
        EXPECT_TRUE(pattern.match(service).hasMatch()) << service.toStdString();
        // The watcher must be told by the connection that owns the name.
        EXPECT_EQ(host.ownerOf(service), watcher.senders()[i]);
        EXPECT_EQ(host.property(service, "Title").toString(), "Vorelt");
    }
    const QString gone = serviceOf(*first);
    bar.removeStatusItem(first);
    EXPECT_TRUE(test::waitFor([&] { return !host.isOnBus(gone); }));
    EXPECT_TRUE(host.isOnBus(serviceOf(*second)));
}

TEST_F(PanelTray, PropertiesDescribeTheClockAndItsTitle) {
    const auto item = publish();
    item->button()->setTitle("Mon Dec 29  12:05 AM");
    const QString service = serviceOf(*item);
    EXPECT_EQ(host.property(service, "Category").toString(), "ApplicationStatus");
    EXPECT_EQ(host.property(service, "Id").toString().toStdString(), applicationBundleIdentifier);
    EXPECT_EQ(host.property(service, "Title").toString(), "Vorelt");
    EXPECT_EQ(host.property(service, "Status").toString(), "Active");
    // No theme's icon: the pixmaps are the icon.
    const QString iconName = host.property(service, "IconName").toString();
    EXPECT_EQ(iconName, "");
    EXPECT_EQ(host.property(service, "XAyatanaLabel").toString(), "Mon Dec 29  12:05 AM");
    EXPECT_EQ(host.property(service, "XAyatanaLabelGuide").toString(), "Mon Dec 00  00:00 AM");
    EXPECT_EQ(host.property(service, "ItemIsMenu").toBool(), false);

    const auto pixmaps =
        demarshal<QList<StatusNotifierPixmap>>(host.property(service, "IconPixmap"));
    QList<int> sizes;
    for (const auto& pixmap : pixmaps) {
        sizes.push_back(pixmap.width);
    }
    for (const int size : {16, 22, 24, 32}) {
        EXPECT_TRUE(sizes.contains(size)) << "a tray asks for " << size;
    }
    for (const auto& pixmap : pixmaps) {
        ASSERT_GT(pixmap.width, 0);
        ASSERT_EQ(pixmap.bytes.size(), pixmap.width * pixmap.height * 4);
        // Alpha first: a corner outside the face is clear, the middle of the face is opaque.
        EXPECT_EQ(pixelAt(pixmap, 0, 0)[0], 0);
        const auto middle = pixelAt(pixmap, pixmap.width / 2, pixmap.height * 3 / 4);
        EXPECT_EQ(middle[0], 255);
        EXPECT_GT(middle[1], 200) << "the face is light";
    }

    const auto toolTip = demarshal<StatusNotifierToolTip>(host.property(service, "ToolTip"));
    EXPECT_EQ(toolTip.iconName, iconName);
    EXPECT_EQ(toolTip.title, "Mon Dec 29  12:05 AM");
    EXPECT_EQ(toolTip.pixmaps.size(), pixmaps.size());

    // Some panels read everything at once.
    const QDBusMessage all =
        host.call(service, "org.freedesktop.DBus.Properties", "GetAll", {QString(kItemInterface)});
    const auto properties = qdbus_cast<QVariantMap>(all.arguments().value(0));
    for (const char* name : {"Category", "Id", "Title", "Status", "IconName", "IconPixmap",
                             "ToolTip", "XAyatanaLabel", "XAyatanaLabelGuide", "ItemIsMenu"}) {
        EXPECT_TRUE(properties.contains(name)) << name;
    }
    // Hosts take any menu path, /NO_DBUSMENU too, for a menu that a click opens instead.
    EXPECT_FALSE(properties.contains("Menu"));
}

TEST_F(PanelTray, TheLabelSignalFollowsEveryChangeOfTheTextAndNothingElse) {
    const auto item = publish();
    const QString service = serviceOf(*item);
    host.listen(service);
    // A placeholder replaced in the same turn of the event loop never reaches the panel.
    item->button()->setTitle("Time");
    item->button()->setTitle("12:05");
    ASSERT_TRUE(test::waitFor([&] { return host.labels.size() == 1; }));
    item->setLength(80);  // the host hears of it, the text is the same
    item->setButton(item->button());
    item->button()->setTitle("12:06");
    ASSERT_TRUE(test::waitFor([&] { return host.labels.size() >= 2; }));
    item->button()->setTitle("");
    ASSERT_TRUE(test::waitFor([&] { return host.labels.size() >= 3; }));
    const std::vector<std::pair<QString, QString>> expected{
        {"12:05", "00:00"}, {"12:06", "00:00"}, {"", ""}};
    EXPECT_EQ(host.labels, expected);
    // The two signals travel separately: wait for the last tool tip before counting them.
    test::waitFor([&] { return host.toolTips >= 3; });
    test::runEventLoopFor(50);
    EXPECT_EQ(host.toolTips, 3);
    EXPECT_EQ(demarshal<StatusNotifierToolTip>(host.property(service, "ToolTip")).title, "");

    // With no text there is still an icon to click.
    EXPECT_EQ(host.property(service, "Status").toString(), "Active");
    EXPECT_FALSE(
        demarshal<QList<StatusNotifierPixmap>>(host.property(service, "IconPixmap")).isEmpty());
}

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
        delegate = std::make_shared<AppDelegate>();
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
        StatusBar::systemStatusBar()->setHost(
            std::make_unique<StatusLine>(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
        Event::useSubstituteSource(false);
    }
    QString service() const { return watcher.items().value(watcher.items().size() - 1); }
    bool shown() const { return delegate->popover->isShown(); }

    test::TemporaryConfigHome home;
    test::ManualClock clock{test::kMondayAfterMidnight};
    WatcherOnBus watcher;
    TestHost host;
    std::shared_ptr<AppDelegate> delegate;
};

TEST_F(LaunchedInPanel, ActivateAndContextMenuClickTheItemAndAnchorThePopoverThere) {
    EXPECT_EQ(host.property(service(), "XAyatanaLabel").toString(), "Mon Dec 29  12:05 AM");
    ASSERT_EQ(host.activate(service(), "Activate", 400, 30).type(), QDBusMessage::ReplyMessage);
    ASSERT_TRUE(shown());
    Rect frame = delegate->popover->frameOnScreen();
    EXPECT_EQ(frame.y, 31) << "just below the point";
    EXPECT_NEAR(frame.x + frame.width / 2, 400, 1) << "centred on the point";

    // Neither clicks.
    host.activate(service(), "SecondaryActivate", 10, 10);
    host.call(service(), kItemInterface, "Scroll", {3, QString("vertical")});
    EXPECT_TRUE(shown());

    host.activate(service(), "ContextMenu", 300, 40);
    EXPECT_FALSE(shown()) << "a second click closes it";
    host.activate(service(), "ContextMenu", 300, 40);
    ASSERT_TRUE(shown());
    frame = delegate->popover->frameOnScreen();
    EXPECT_EQ(frame.y, 41);
    EXPECT_NEAR(frame.x + frame.width / 2, 300, 1);

    // A panel at the bottom of the screen: the popover stays on the screen.
    host.activate(service(), "Activate", 300, 40);
    host.activate(service(), "Activate", 790, 595);
    ASSERT_TRUE(shown());
    frame = delegate->popover->frameOnScreen();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(frame.x + frame.width, screen.right() + 1);
    EXPECT_LE(frame.y + frame.height, screen.bottom() + 1);
}

TEST_F(LaunchedInPanel, EverySingleClickOnThePanelsItemTogglesThePopover) {
    for (int i = 0; i < 4; ++i) {
        host.clickAsGnomeShell(service());
        EXPECT_EQ(shown(), i % 2 == 0) << "GNOME Shell, click " << i + 1;
    }
    EXPECT_EQ(host.menusToggled, 0);

    // A panel that is an X11 window of another program: the press is also an outside click,
    // which closes the popover before Activate arrives.
    host.activate(service(), "Activate", 600, 14);
    ASSERT_TRUE(shown());
    Event::deliverGlobalEvent(Event::LeftMouseDown, Point{600, 14});
    host.activate(service(), "Activate", 600, 14);
    EXPECT_FALSE(shown()) << "the press and its Activate are one click";
    test::runEventLoopFor(600);
    host.activate(service(), "Activate", 600, 14);
    EXPECT_TRUE(shown()) << "the next click opens it";
}

TEST_F(LaunchedInPanel, ThePanelGoingAndComingBackKeepsTheTitleAndThePopover) {
    std::vector<std::string> ownBar;
    StatusNotifierWatcherTracker tracker(
        [&ownBar](bool tray) -> std::unique_ptr<StatusBarHost> {
            if (tray) {
                return std::make_unique<StatusNotifierTray>();
            }
            return std::make_unique<OwnBar>(ownBar);
        },
        [](std::unique_ptr<StatusBarHost> next) {
            StatusBar::systemStatusBar()->setHost(std::move(next));
        },
        [](bool hostRegistered, const std::string&) { return hostRegistered; });
    StatusBar::systemStatusBar()->setHost(tracker.currentHost());
    ASSERT_TRUE(tracker.inPanel());
    ASSERT_TRUE(test::waitFor([this] { return watcher.items().size() == 2; }));
    host.activate(service(), "Activate", 400, 30);
    ASSERT_TRUE(shown());

    watcher.stop();
    ASSERT_TRUE(test::waitFor([&] { return !ownBar.empty(); }));
    EXPECT_FALSE(tracker.inPanel());
    EXPECT_EQ(ownBar, (std::vector<std::string>{"Mon Dec 29  12:05 AM"}));
    EXPECT_TRUE(shown());
    EXPECT_EQ(delegate->statusItem->frameOnScreen(), (Rect{700, 0, 90, 24}));

    // A panel that starts its watcher before its host: only the host brings the item back.
    watcher.start(false);
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_FALSE(tracker.inPanel());
    EXPECT_TRUE(watcher.items().isEmpty());
    clock.advance(60);
    delegate->updateMenuTime();
    watcher.registerHost();
    ASSERT_TRUE(test::waitFor([this] { return watcher.items().size() == 1; }));
    EXPECT_TRUE(tracker.inPanel());
    EXPECT_EQ(host.property(service(), "XAyatanaLabel").toString(), "Mon Dec 29  12:06 AM");
    EXPECT_TRUE(shown());
    host.activate(service(), "Activate", 400, 30);
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
    EXPECT_EQ(StatusNotifierWatcherTracker::programOf("org.kde.StatusNotifierWatcher"),
              QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString());
    EXPECT_TRUE(inTray());
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    EXPECT_FALSE(inTray()) << "a tray of unknown labels";
    qunsetenv("XDG_CURRENT_DESKTOP");
}

}  // namespace
}  // namespace vorelt

#include "StatusNotifierItemTest.moc"
