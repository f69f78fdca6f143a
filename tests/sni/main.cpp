#include <QApplication>

#include <fcntl.h>
#include <gtest/gtest.h>

#include "model/Identifiers.h"
#include "platform/StatusBar.h"
#include "platform/StatusLine.h"
#include "platform/WindowController.h"

// Runs inside dbus-run-session: the session bus is a private one, with no panel on it.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "en_US.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_TIME");
    qputenv("TZ", "UTC");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(
        QString::fromUtf8(vorelt::applicationBundleIdentifier.data(),
                          static_cast<qsizetype>(vorelt::applicationBundleIdentifier.size())));
    vorelt::StatusBar::systemStatusBar()->setHost(
        std::make_unique<vorelt::StatusLine>(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
    const int status = RUN_ALL_TESTS();
    vorelt::WindowController::releaseOpenWindows();
    vorelt::StatusBar::systemStatusBar()->detachHost();
    return status;
}
