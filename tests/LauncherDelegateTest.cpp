#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "TestSupport.h"
#include "launcher/LauncherDelegate.h"
#include "model/Identifiers.h"
#include "platform/app/Application.h"
#include "platform/app/Workspace.h"

using namespace vorelt;

constexpr const char* kClock = "/opt/vorelt/bin/vorelt";

// Runs a launcher in a private config home and session, with a line in the store and a program of
// `identifier` running on `display`: true when it started the clock. It ends either way.
static bool startsTheClock(const char* stored, const std::string& identifier,
                           const std::string& display, bool launchSucceeds = true) {
    test::TemporaryConfigHome home;
    test::TemporaryRuntimeDir runtime;
    home.writeStore(QByteArray("[General]\n") + stored + "\n");
    Workspace other;
    other.announceRunningApplication(identifier, display);
    std::vector<std::string> launched;
    int terminations = 0;
    Application::sharedApplication()->setTerminationHandler([&] { ++terminations; });
    const auto delegate = std::make_shared<LauncherDelegate>();
    delegate->setClockProgramPath(kClock);
    delegate->setLaunchHandler([&](const std::string& path) {
        launched.push_back(path);
        return launchSucceeds;
    });
    delegate->applicationDidFinishLaunching(nullptr);
    Application::sharedApplication()->setTerminationHandler({});
    EXPECT_EQ(terminations, 1);
    return launched == std::vector<std::string>{kClock};
}

// Only a stored false keeps it from starting the clock, and only the clock's own identifier on the
// launcher's display: a clock on standard output feeds a bar program, and one on another display
// is another's.
TEST(LauncherDelegate, StartsTheClockUnlessTurnedOffOrAClockRunsOnItsOwnDisplay) {
    const std::string clock(applicationBundleIdentifier);
    const std::string here = Workspace::currentDisplay();
    for (const auto& [stored, identifier, display, starts] :
         std::vector<std::tuple<const char*, std::string, std::string, bool>>{
             {"", "", here, true},
             {"shouldAutoLaunch=false", "", here, false},
             {"dateFormat=HH:mm", "", here, true},
             {"", clock, here, false},
             {"", std::string(launcherBundleIdentifier), here, true},
             {"", clock + ".Helper", here, true},
             {"", clock, "x11-:97", true}}) {
        EXPECT_EQ(startsTheClock(stored, identifier, display), starts)
            << stored << " " << identifier << " on " << display;
    }
    EXPECT_TRUE(startsTheClock("", "", here, false)) << "tried, and ended all the same";
}
