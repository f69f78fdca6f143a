// A stand-in for a desktop panel with a tray, for the end-to-end tests: it owns the
// StatusNotifierWatcher with a host registered, and prints the bus name of each item that
// registers, one a line.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QStringList>

#include <cstdio>

class PanelWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    bool hostRegistered() const { return true; }
    QStringList items() const { return items_; }
    int protocolVersion() const { return 0; }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) {
        items_.push_back(service);
        std::printf("%s\n", qPrintable(service));
        std::fflush(stdout);
        Q_EMIT StatusNotifierItemRegistered(service);
    }
    void RegisterStatusNotifierHost(const QString&) {}

Q_SIGNALS:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QStringList items_;
};

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    PanelWatcher watcher;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService("org.kde.StatusNotifierWatcher")) {
        return 1;
    }
    return QCoreApplication::exec();
}

#include "panel.moc"
