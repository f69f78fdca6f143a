#include "platform/statusbar/tray/StatusNotifierWatcherTracker.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QFileInfo>

#include "platform/foundation/SessionBus.h"
#include "platform/statusbar/tray/StatusNotifierItem.h"

namespace vorelt {

namespace {
// Long enough for a busy panel, short enough not to hold up the clock's start.
constexpr int kStartupTimeoutMs = 1000;

QDBusMessage hostRegisteredQuestion() {
    auto message = QDBusMessage::createMethodCall(
        StatusNotifierItem::watcherService, StatusNotifierItem::watcherPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message << QString::fromLatin1(StatusNotifierItem::watcherService)
            << QStringLiteral("IsStatusNotifierHostRegistered");
    return message;
}

bool hostRegisteredIn(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}
}  // namespace

StatusNotifierWatcherTracker::StatusNotifierWatcherTracker(HostFactory makeHost, HostSink install,
                                                           TrayRule useTray)
    : makeHost_(std::move(makeHost)), install_(std::move(install)), useTray_(std::move(useTray)) {
    QDBusConnection bus = SessionBus::shared();
    if (!bus.isConnected()) {
        return;
    }
    serviceWatcher_ = new QDBusServiceWatcher(StatusNotifierItem::watcherService, bus,
                                              QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(serviceWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                watcherChanged(newOwner);
            });
    // A watcher that is already there may get its host later, or lose it.
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        bus.connect(StatusNotifierItem::watcherService, StatusNotifierItem::watcherPath,
                    StatusNotifierItem::watcherService, signal, this, SLOT(hostsChanged()));
    }
}

StatusNotifierWatcherTracker::~StatusNotifierWatcherTracker() = default;

std::string StatusNotifierWatcherTracker::programOf(const QString& busName) {
    const QDBusConnection bus = SessionBus::shared();
    if (!bus.isConnected() || busName.isEmpty()) {
        return {};
    }
    const QDBusReply<uint> pid = bus.interface()->servicePid(busName);
    if (!pid.isValid()) {
        return {};
    }
    // The first word of the command line names the program in full; the process name may be cut.
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid.value()));
    if (!cmdline.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray first = cmdline.readAll().split('\0').value(0);
    return QFileInfo(QString::fromLocal8Bit(first)).fileName().toStdString();
}

std::unique_ptr<StatusBarHost> StatusNotifierWatcherTracker::currentHost() {
    ++question_;
    if (serviceWatcher_ != nullptr) {
        const QDBusMessage reply =
            SessionBus::shared().call(hostRegisteredQuestion(), QDBus::Block, kStartupTimeoutMs);
        hostRegistered_ = hostRegisteredIn(reply);
        owner_ = hostRegistered_ ? programOf(StatusNotifierItem::watcherService) : std::string();
    }
    inPanel_ = useTray_(hostRegistered_, owner_);
    return makeHost_(inPanel_);
}

void StatusNotifierWatcherTracker::hostsChanged() {
    refused_ = false;
    ask(false);
}

void StatusNotifierWatcherTracker::trayRefused() {
    // Not at once: the tray that tells of it is still on the stack.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!inPanel_) {
                return;
            }
            refused_ = true;
            ++question_;
            inPanel_ = false;
            install_(makeHost_(false));
        },
        Qt::QueuedConnection);
}

void StatusNotifierWatcherTracker::watcherChanged(const QString& newOwner) {
    refused_ = false;
    owner_ = programOf(newOwner);
    if (newOwner.isEmpty()) {
        ++question_;
        choose(false, true);
        return;
    }
    ask(true);
}

void StatusNotifierWatcherTracker::ask(bool watcherReplaced) {
    const int question = ++question_;
    auto* pending =
        new QDBusPendingCallWatcher(SessionBus::shared().asyncCall(hostRegisteredQuestion()), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, pending, question, watcherReplaced] {
                pending->deleteLater();
                if (question == question_) {
                    choose(hostRegisteredIn(pending->reply()), watcherReplaced);
                }
            });
}

void StatusNotifierWatcherTracker::choose(bool registered, bool watcherReplaced) {
    hostRegistered_ = registered;
    if (registered && owner_.empty()) {
        owner_ = programOf(StatusNotifierItem::watcherService);
    }
    const bool panel = !refused_ && useTray_(registered, owner_);
    // A new watcher knows nothing of items registered with the old one: register afresh.
    if (panel == inPanel_ && !(panel && watcherReplaced)) {
        return;
    }
    inPanel_ = panel;
    install_(makeHost_(panel));
}

}  // namespace vorelt
