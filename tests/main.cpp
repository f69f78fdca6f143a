#include <QApplication>

#include <fcntl.h>
#include <gtest/gtest.h>

#include "model/Identifiers.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusLine.h"

using namespace vorelt;

// The main of both test programs: the clock's names, a fixed locale and zone, so that formatted
// text can be compared, and the offscreen platform.
int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "en_US.UTF-8");
    qunsetenv("LC_ALL");
    qunsetenv("LC_TIME");
    qputenv("TZ", "UTC");
    testing::InitGoogleTest(&argc, argv);
    clockIdentity().adopt();
    QApplication application(argc, argv);
    // The status line of the offscreen platform would write every title into the test log.
    StatusBar::systemStatusBar()->setHost(
        std::make_unique<StatusLine>(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
    return RUN_ALL_TESTS();
}
