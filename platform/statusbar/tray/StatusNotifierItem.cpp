#include "platform/statusbar/tray/StatusNotifierItem.h"

#include <QCursor>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <unistd.h>
#include <algorithm>
#include <utility>

#include "platform/foundation/Identity.h"
#include "platform/foundation/PlatformLog.h"
#include "platform/foundation/QtGeometry.h"
#include "platform/foundation/QtText.h"
#include "platform/foundation/SessionBus.h"
#include "platform/foundation/WindowingSystem.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/statusbar/tray/BusSignal.h"
#include "platform/statusbar/tray/DBusMenuExporter.h"
#include "platform/statusbar/tray/StatusNotifierClickPlace.h"
#include "platform/ui/Event.h"
#include "platform/wayland/WaylandOverlay.h"

namespace vorelt {

namespace {
// Counted for the whole process, not per tray: the bus names carry only the process id, and an
// item of the tray being replaced may still hold its name while the next tray's item starts.
int nextItemNumber = 1;
// Long enough for a busy panel to read the item and list it.
constexpr int kListedWithinMs = 3000;

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<StatusNotifierPixmap>();
        qDBusRegisterMetaType<QList<StatusNotifierPixmap>>();
        qDBusRegisterMetaType<StatusNotifierToolTip>();
        return true;
    }();
    (void)registered;
}

// The screens and their work areas; `near` is where the pointer is, if known.
std::vector<StatusNotifierClickPlace::Screen> screens(std::optional<Point> near = std::nullopt) {
    std::vector<StatusNotifierClickPlace::Screen> all;
    // Through XWayland the X11 work area leaves no panel out: the compositor tells.
    if (WaylandOverlay* overlay = WaylandOverlay::instance()) {
        for (const WaylandOverlay::Output& output : overlay->outputs(near)) {
            all.push_back(StatusNotifierClickPlace::Screen{output.frame, output.workArea});
        }
        if (!all.empty()) {
            return all;
        }
    }
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const StatusNotifierClickPlace::Screen one{rectFrom(screen->geometry()),
                                                   rectFrom(screen->availableGeometry())};
        // The primary screen first: where a panel's tray is when nothing says otherwise.
        if (screen == primary) {
            all.insert(all.begin(), one);
        } else {
            all.push_back(one);
        }
    }
    return all;
}

// Where the pointer is; X11 does not see it over a Wayland shell's own panel, the compositor
// may tell.
std::optional<Point> pointerPlace() {
    if (WaylandOverlay* overlay = WaylandOverlay::instance()) {
        return overlay->pointer();
    }
    if (WindowingSystem::inWaylandSession() || !WindowingSystem::hasDisplay()) {
        return std::nullopt;
    }
    return pointFrom(QCursor::pos());
}
}  // namespace

StatusNotifierItem::StatusNotifierItem(StatusItem& item, bool panelShowsLabel,
                                       RefusalHandler refused)
    : item_(item),
      service_(
          QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(::getpid()).arg(nextItemNumber++)),
      connection_(SessionBus::open(service_)),
      panelShowsLabel_(panelShowsLabel),
      refused_(std::move(refused)),
      pixmaps_(StatusNotifierPixmap::clockIcon()),
      iconThemePath_(iconThemePathFor(QCoreApplication::applicationDirPath(), id())),
      exportedMenu_(item.menu().get()),
      label_(currentTitle()),
      guide_(guideFor(label_)),
      applet_(connection_, [this] { appletChanged(); }) {
    registerTypes();
    menuExporter_ = new DBusMenuExporter([this] { return item_.menu(); },
                                         [this] { place(std::nullopt); }, this);
    const bool published = connection_.isConnected() &&
                           connection_.registerObject(objectPath, this,
                                                      QDBusConnection::ExportAllSlots |
                                                          QDBusConnection::ExportAllSignals |
                                                          QDBusConnection::ExportAllProperties) &&
                           connection_.registerObject(DBusMenuExporter::objectPath, menuExporter_,
                                                      QDBusConnection::ExportAllSlots |
                                                          QDBusConnection::ExportAllSignals |
                                                          QDBusConnection::ExportAllProperties) &&
                           connection_.registerService(service_);
    if (!published) {
        qCWarning(platformLog) << "the tray item is not published on the session bus:"
                               << connection_.lastError().message();
        return;
    }
    connection_.connect(watcherService, watcherPath, watcherService,
                        QStringLiteral("StatusNotifierItemUnregistered"), this,
                        SLOT(itemUnregistered(QString)));
    // Not waited for: the watcher may read our properties before it answers. Registered by path,
    // so that the watcher takes the sender for the item: GNOME Shell's, given a name, may look up
    // its owner after it has read the item, and then forget what it read.
    auto message = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                                  QStringLiteral("RegisterStatusNotifierItem"));
    message << QString::fromLatin1(objectPath);
    auto* registration = new QDBusPendingCallWatcher(connection_.asyncCall(message), this);
    QObject::connect(registration, &QDBusPendingCallWatcher::finished, this,
                     [this](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         if (call->isError()) {
                             refuse(call->error().message());
                         } else {
                             QTimer::singleShot(kListedWithinMs, this, [this] { checkListed(); });
                         }
                     });
}

StatusNotifierItem::~StatusNotifierItem() {
    connection_.unregisterObject(objectPath);
    connection_.unregisterObject(DBusMenuExporter::objectPath);
    connection_.unregisterService(service_);
    QDBusConnection::disconnectFromBus(service_);
}

QString StatusNotifierItem::id() const {
    return QGuiApplication::desktopFileName();
}

QString StatusNotifierItem::title() const {
    return qs(Identity::current().displayName);
}

QString StatusNotifierItem::iconThemePathFor(const QString& programFolder,
                                             const QString& iconName) {
    const QString icon = QStringLiteral("/hicolor/scalable/apps/%1.svg").arg(iconName);
    for (const QString& themes : {programFolder + QStringLiteral("/icons"),
                                  programFolder + QStringLiteral("/../share/icons")}) {
        if (!iconName.isEmpty() && QFileInfo::exists(themes + icon)) {
            return QFileInfo(themes).canonicalFilePath();
        }
    }
    return {};
}

QDBusObjectPath StatusNotifierItem::menu() const {
    return QDBusObjectPath(DBusMenuExporter::objectPath);
}

// Where the panel shows the label, the text is there already, and a panel that shows tool tips too
// (MATE's notification area) would show one that is never told of a change.
StatusNotifierToolTip StatusNotifierItem::toolTip() const {
    return StatusNotifierToolTip{iconName(), pixmaps_, panelShowsLabel_ ? QString() : label_,
                                 QString()};
}

QString StatusNotifierItem::currentTitle() const {
    const auto button = item_.button();
    return button ? QString::fromStdString(button->title()) : QString();
}

void StatusNotifierItem::refresh() {
    // The entries themselves are read as the panel opens the menu, not at every tick.
    if (item_.menu().get() != exportedMenu_) {
        exportedMenu_ = item_.menu().get();
        menuExporter_->menuChanged();
    }
    const QString title = currentTitle();
    if (title == label_) {
        return;
    }
    label_ = title;
    guide_ = guideFor(title);
    labelChanged_.schedule();
}

void StatusNotifierItem::announceLabel() {
    constexpr const char* interface = "org.kde.StatusNotifierItem";
    if (panelShowsLabel_) {
        if (!BusSignal::send(connection_, objectPath, interface, "XAyatanaNewLabel",
                             {label_, guide_})) {
            Q_EMIT XAyatanaNewLabel(label_, guide_);
        }
    } else if (!BusSignal::send(connection_, objectPath, interface, "NewToolTip")) {
        Q_EMIT NewToolTip();
    }
}

QString StatusNotifierItem::guideFor(const QString& label) {
    QString guide = label;
    for (QChar& c : guide) {
        if (c.isDigit()) {
            c = QChar(static_cast<char16_t>(c.unicode() - c.digitValue()));
        }
    }
    return guide;
}

void StatusNotifierItem::checkListed() {
    auto question = QDBusMessage::createMethodCall(
        watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    question << QString::fromLatin1(watcherService)
             << QStringLiteral("RegisteredStatusNotifierItems");
    auto* pending = new QDBusPendingCallWatcher(connection_.asyncCall(question), this);
    QObject::connect(
        pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
            call->deleteLater();
            const QDBusPendingReply<QDBusVariant> reply = *call;
            // A watcher that keeps no list cannot tell: it is taken at its word.
            if (reply.isError()) {
                return;
            }
            const QStringList items = reply.value().variant().toStringList();
            if (std::none_of(items.begin(), items.end(),
                             [this](const QString& listed) { return isOurs(listed); })) {
                refuse(QStringLiteral("it did not list the item"));
            }
        });
}

// Watchers name an item by its bus name, the unique or the well-known one, often followed by
// its path after a "/" or an "@".
bool StatusNotifierItem::isOurs(const QString& listed) const {
    const QString name = listed.section(QRegularExpression(QStringLiteral("[/@]")), 0, 0);
    return name == service_ || name == connection_.baseService();
}

void StatusNotifierItem::itemUnregistered(const QString& service) {
    if (isOurs(service)) {
        refuse(QStringLiteral("it dropped the item"));
    }
}

void StatusNotifierItem::refuse(const QString& why) {
    qCWarning(platformLog) << "the panel's tray refused the item:" << why;
    if (refused_) {
        // Called once: whoever hears of it may drop this item.
        std::exchange(refused_, {})(why);
    }
}

QString StatusNotifierItem::status() const {
    return passive_ || applet_.shows() ? QStringLiteral("Passive") : QStringLiteral("Active");
}

void StatusNotifierItem::setPassive(bool passive) {
    const QString before = status();
    passive_ = passive;
    if (status() != before) {
        Q_EMIT NewStatus(status());
    }
}

void StatusNotifierItem::appletChanged() {
    if (!passive_) {
        Q_EMIT NewStatus(status());
    }
    if (appletChanged_) {
        appletChanged_();
    }
}

Rect StatusNotifierItem::screenFrame() const {
    return clickedFrame_.value_or(Rect{});
}

void StatusNotifierItem::place(std::optional<Point> fromHost) {
    // The applet sends its middle, and the popover opens beside it, away from its panel's edge.
    const auto& applet = applet_.report();
    if (applet && fromHost && applet->frame.contains(*fromHost)) {
        clickedFrame_ = applet->frame;
        clickedEdge_ = applet->popoverEdge;
        return;
    }
    clickedEdge_.reset();
    const std::optional<Point> pointer = pointerPlace();
    const auto all = screens(pointer);
    if (fromHost && StatusNotifierClickPlace::onPanel(all, *fromHost)) {
        lastFromHost_ = fromHost;
    }
    const Point at = StatusNotifierClickPlace::choose(all, fromHost, pointer, lastFromHost_,
                                                      QGuiApplication::isRightToLeft());
    clickedFrame_ = StatusNotifierClickPlace::itemFrame(all, at);
}

void StatusNotifierItem::click(std::optional<Point> fromHost, bool leftOrRight) {
    // With the popover open, a left or right click on the panel's item reaches the clock twice:
    // first as a press outside, which closes the popover, then as this call, which must not open
    // it again. Panels send a point of their own choosing, not always the press's.
    const std::optional<Point> press = Event::globalMouseDownJustHandled();
    const auto& applet = applet_.report();
    if (leftOrRight && press &&
        (StatusNotifierClickPlace::onPanel(screens(), *press) || !fromHost ||
         Event::globalMouseDownJustHandledAt(*fromHost) ||
         (applet && applet->frame.contains(*press)))) {
        return;
    }
    place(fromHost);
    if (const auto button = item_.button()) {
        button->performClick();
    }
}

namespace {
// Panels that know no place send (0, 0).
std::optional<Point> hostPoint(int x, int y) {
    if (x == 0 && y == 0) {
        return std::nullopt;
    }
    return Point{static_cast<double>(x), static_cast<double>(y)};
}
}  // namespace

void StatusNotifierItem::Activate(int x, int y) {
    click(hostPoint(x, y), true);
}

// For panels that open no menu of their own: the popover is the clock's menu.
void StatusNotifierItem::ContextMenu(int x, int y) {
    click(hostPoint(x, y), true);
}

// A middle click: where a left click opens the menu, the way to the popover in one click.
void StatusNotifierItem::SecondaryActivate(int x, int y) {
    click(hostPoint(x, y), false);
}

void StatusNotifierItem::XAyatanaSecondaryActivate(uint) {
    click(std::nullopt, false);
}

// Scrolling changes nothing; the applet's reports come this way.
void StatusNotifierItem::Scroll(int, const QString& orientation) {
    applet_.hear(orientation, calledFromDBus() ? message().service() : QString());
}

}  // namespace vorelt
