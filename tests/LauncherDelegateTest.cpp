#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "launcher/LauncherDelegate.h"
#include "model/Identifiers.h"
#include "platform/app/Application.h"
#include "platform/app/Workspace.h"

namespace vorelt {
namespace {

constexpr const char* kClock = "/opt/vorelt/bin/vorelt";

// A private config home and session, in which each run of a launcher is recorded.
class LauncherDelegateTest : public testing::Test {
protected:
    // Runs a launcher: true when it started the clock. It ends either way.
    bool startsTheClock() {
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

    test::TemporaryConfigHome home;
    test::TemporaryRuntimeDir runtime;
    bool launchSucceeds = true;
};

TEST_F(LauncherDelegateTest, StartsTheClockUnlessTheUserTurnedLaunchAtLoginOff) {
    EXPECT_TRUE(startsTheClock()) << "a store without the key";
    // Only a stored false counts; other settings are no reason to stay put.
    for (const auto& [line, starts] : {std::pair{"shouldAutoLaunch=true", true},
                                       {"shouldAutoLaunch=false", false},
                                       {"dateFormat=HH:mm", true}}) {
        home.writeStore(QByteArray("[General]\n") + line + "\n");
        UserDefaults::resetStandardUserDefaults();
        EXPECT_EQ(startsTheClock(), starts) << line;
    }
    launchSucceeds = false;
    EXPECT_TRUE(startsTheClock()) << "tried, and ended all the same";
}

// Only the clock's own identifier on the launcher's display counts: a clock on standard output
// feeds a bar program, and one on another display is another's.
TEST_F(LauncherDelegateTest, OnlyAClockOnItsOwnDisplayKeepsItFromStartingAnother) {
    const std::string clock(applicationBundleIdentifier);
    const std::string here = Workspace::currentDisplay();
    {
        Workspace running;
        running.announceRunningApplication(clock, here);
        EXPECT_FALSE(startsTheClock());
    }
    for (const auto& [identifier, display] : std::vector<std::pair<std::string, std::string>>{
             {std::string(launcherBundleIdentifier), here},
             {"io.github.vorelt.vorelt", here},
             {clock + ".Helper", here},
             {"io.github.vorelt", here},
             {clock, "headless-1"},
             {clock, "x11-:97"}}) {
        SCOPED_TRACE(identifier + " on " + display);
        Workspace other;
        other.announceRunningApplication(identifier, display);
        EXPECT_TRUE(startsTheClock());
    }
}

}  // namespace
}  // namespace vorelt
