#include "platform/StatusNotifierWatcherTracker.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include "platform/StatusNotifierItem.h"
#include "platform/StatusNotifierTray.h"

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

bool hostRegistered(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return false;
    }
    return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}
}  // namespace

StatusNotifierWatcherTracker::StatusNotifierWatcherTracker(HostFactory ownHost, HostSink install)
    : ownHost_(std::move(ownHost)), install_(std::move(install)) {
    QDBusConnection bus = QDBusConnection::sessionBus();
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

std::unique_ptr<StatusBarHost> StatusNotifierWatcherTracker::currentHost() {
    ++question_;
    if (serviceWatcher_ != nullptr) {
        const QDBusMessage reply = QDBusConnection::sessionBus().call(
            hostRegisteredQuestion(), QDBus::Block, kStartupTimeoutMs);
        inPanel_ = hostRegistered(reply);
    }
    return makeHost();
}

std::unique_ptr<StatusBarHost> StatusNotifierWatcherTracker::makeHost() const {
    if (inPanel_) {
        return std::make_unique<StatusNotifierTray>();
    }
    return ownHost_();
}

void StatusNotifierWatcherTracker::hostsChanged() {
    ask(false);
}

void StatusNotifierWatcherTracker::watcherChanged(const QString& newOwner) {
    if (newOwner.isEmpty()) {
        ++question_;
        choose(false, true);
        return;
    }
    ask(true);
}

void StatusNotifierWatcherTracker::ask(bool watcherReplaced) {
    const int question = ++question_;
    auto* pending = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(hostRegisteredQuestion()), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, pending, question, watcherReplaced] {
                pending->deleteLater();
                if (question == question_) {
                    choose(hostRegistered(pending->reply()), watcherReplaced);
                }
            });
}

void StatusNotifierWatcherTracker::choose(bool panel, bool watcherReplaced) {
    // A new watcher knows nothing of items registered with the old one: register afresh.
    if (panel == inPanel_ && !(panel && watcherReplaced)) {
        return;
    }
    inPanel_ = panel;
    install_(makeHost());
}

}  // namespace vorelt
