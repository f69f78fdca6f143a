// A stand-in for a desktop panel with a tray, for the end-to-end tests: it owns the
// StatusNotifierWatcher with a host registered, and prints the bus name of each item that
// registers, one a line.
#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>

#include "../support/TestWatcher.h"

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    vorelt::TestWatcher watcher;
    watcher.setHostRegistered(true);
    QObject::connect(&watcher, &vorelt::TestWatcher::StatusNotifierItemRegistered,
                     [](const QString& service) {
                         std::printf("%s\n", qPrintable(service));
                         std::fflush(stdout);
                     });
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/StatusNotifierWatcher", &watcher,
                            QDBusConnection::ExportAllContents) ||
        !bus.registerService("org.kde.StatusNotifierWatcher")) {
        return 1;
    }
    return QCoreApplication::exec();
}
