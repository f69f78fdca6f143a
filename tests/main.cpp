#include <QApplication>

#include <fcntl.h>
#include <gtest/gtest.h>

#include "platform/StatusBar.h"
#include "platform/StatusLine.h"
#include "platform/WindowController.h"

int main(int argc, char* argv[]) {
    // Fixed locale and zone, so that formatted text can be compared.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "en_US.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_TIME");
    qputenv("TZ", "UTC");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    // The status line of the offscreen platform would write every title into the test log.
    vorelt::StatusBar::systemStatusBar()->setHost(
        std::make_unique<vorelt::StatusLine>(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
    const int status = RUN_ALL_TESTS();
    vorelt::WindowController::releaseOpenWindows();
    vorelt::StatusBar::systemStatusBar()->detachHost();
    return status;
}
