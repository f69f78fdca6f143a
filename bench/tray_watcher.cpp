// A panel's tray for measuring the clock in tray mode: the StatusNotifierWatcher on the session
// bus, with a host registered, that listens to each registered item's label as a panel does and
// prints every new label on a line of its own.
// Usage: vorelt_bench_tray_watcher   (runs until killed; needs DBUS_SESSION_BUS_ADDRESS)
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>

#include <cstdio>

namespace {

constexpr const char* kWatcher = "org.kde.StatusNotifierWatcher";

class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    bool hostRegistered() const { return true; }
    QStringList registeredItems() const { return items_; }
    int protocolVersion() const { return 0; }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) {
        // The item's own bus name: the service it asked for, or where the call came from.
        const QString owner = service.startsWith('/') ? message().service() : service;
        items_.push_back(owner);
        connection().connect(owner, QString(), "org.kde.StatusNotifierItem", "XAyatanaNewLabel",
                             this, SLOT(labelChanged(QString, QString)));
        Q_EMIT StatusNotifierItemRegistered(owner);
    }
    void RegisterStatusNotifierHost(const QString&) {}

private Q_SLOTS:
    void labelChanged(const QString& label, const QString&) {
        std::printf("%s\n", qPrintable(label));
        std::fflush(stdout);
    }

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();

private:
    QStringList items_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    Watcher watcher;
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService(kWatcher)) {
        std::fputs("tray watcher: no session bus\n", stderr);
        return 1;
    }
    return QCoreApplication::exec();
}

#include "tray_watcher.moc"
