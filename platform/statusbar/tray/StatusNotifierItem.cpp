#include "platform/statusbar/tray/StatusNotifierItem.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>

#include <unistd.h>

#include "platform/app/SessionBus.h"
#include "platform/foundation/PlatformLog.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/ui/Event.h"

namespace vorelt {

namespace {
int nextItemNumber = 1;

void registerTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<StatusNotifierPixmap>();
        qDBusRegisterMetaType<QList<StatusNotifierPixmap>>();
        qDBusRegisterMetaType<StatusNotifierToolTip>();
        return true;
    }();
    (void)registered;
}
}  // namespace

StatusNotifierItem::StatusNotifierItem(StatusItem& item, bool panelShowsLabel)
    : item_(item),
      service_(
          QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(::getpid()).arg(nextItemNumber++)),
      connection_(SessionBus::open(service_)),
      panelShowsLabel_(panelShowsLabel),
      pixmaps_(StatusNotifierPixmap::clockIcon()),
      label_(currentTitle()),
      guide_(guideFor(label_)) {
    registerTypes();
    published_ = connection_.isConnected() &&
                 connection_.registerObject(objectPath, this,
                                            QDBusConnection::ExportAllSlots |
                                                QDBusConnection::ExportAllSignals |
                                                QDBusConnection::ExportAllProperties) &&
                 connection_.registerService(service_);
    if (!published_) {
        qCWarning(platformLog) << "the tray item is not published on the session bus:"
                               << connection_.lastError().message();
        return;
    }
    // Not waited for: the watcher may read our properties before it answers.
    auto message = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                                  QStringLiteral("RegisterStatusNotifierItem"));
    message << service_;
    auto* registration = new QDBusPendingCallWatcher(connection_.asyncCall(message), this);
    QObject::connect(registration, &QDBusPendingCallWatcher::finished, this,
                     [](QDBusPendingCallWatcher* call) {
                         if (call->isError()) {
                             qCWarning(platformLog)
                                 << "the panel's tray refused the item:" << call->error().message();
                         }
                         call->deleteLater();
                     });
}

StatusNotifierItem::~StatusNotifierItem() {
    connection_.unregisterObject(objectPath);
    connection_.unregisterService(service_);
    QDBusConnection::disconnectFromBus(service_);
}

QString StatusNotifierItem::id() const {
    return QGuiApplication::desktopFileName();
}

StatusNotifierToolTip StatusNotifierItem::toolTip() const {
    return StatusNotifierToolTip{iconName(), pixmaps_, label_, QString()};
}

QString StatusNotifierItem::currentTitle() const {
    const auto button = item_.button();
    return button ? QString::fromStdString(button->title()) : QString();
}

void StatusNotifierItem::refresh() {
    const QString title = currentTitle();
    if (title == label_) {
        return;
    }
    label_ = title;
    guide_ = guideFor(title);
    labelChanged_.schedule();
}

void StatusNotifierItem::announceLabel() {
    if (panelShowsLabel_) {
        Q_EMIT XAyatanaNewLabel(label_, guide_);
    } else {
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

Rect StatusNotifierItem::screenFrame() const {
    if (!clickedAt_) {
        return Rect{};
    }
    return Rect{clickedAt_->x, clickedAt_->y, 1.0, 1.0};
}

void StatusNotifierItem::click(int x, int y) {
    // With the popover open, a click on the panel's item reaches the clock twice: first as a press
    // outside, which closes the popover, then as this call, which must not open it again.
    if (Event::globalMouseDownJustHandledAt(
            Point{static_cast<double>(x), static_cast<double>(y)})) {
        return;
    }
    clickedAt_ = Point{static_cast<double>(x), static_cast<double>(y)};
    if (const auto button = item_.button()) {
        button->performClick();
    }
}

void StatusNotifierItem::Activate(int x, int y) {
    click(x, y);
}

// The clock has no menu of its own: the popover is its menu.
void StatusNotifierItem::ContextMenu(int x, int y) {
    click(x, y);
}

void StatusNotifierItem::SecondaryActivate(int, int) {}

void StatusNotifierItem::Scroll(int, const QString&) {}

}  // namespace vorelt
