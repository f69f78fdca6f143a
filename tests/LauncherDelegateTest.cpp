#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "launcher/LauncherDelegate.h"
#include "model/Identifiers.h"
#include "platform/app/Application.h"
#include "platform/app/Workspace.h"

namespace vorelt {
namespace {

constexpr const char* kClock = "/opt/vorelt/bin/vorelt";

// A launcher that records what it would start, in a private config home and session.
class LauncherDelegateTest : public testing::Test {
protected:
    void SetUp() override {
        Application::sharedApplication()->setTerminationHandler([this] { ++terminations; });
        delegate->setClockProgramPath(kClock);
        delegate->setLaunchHandler([this](const std::string& path) {
            launched.push_back(path);
            return launchSucceeds;
        });
    }
    void TearDown() override { Application::sharedApplication()->setTerminationHandler({}); }

    // Runs the launcher once and forgets what the last run did.
    void runLauncher() {
        launched.clear();
        terminations = 0;
        delegate->applicationDidFinishLaunching(nullptr);
    }

    test::TemporaryConfigHome home;
    test::TemporaryRuntimeDir runtime;
    const std::shared_ptr<LauncherDelegate> delegate = std::make_shared<LauncherDelegate>();
    std::vector<std::string> launched;
    int terminations = 0;
    bool launchSucceeds = true;
};

TEST_F(LauncherDelegateTest, StartsTheClockUnlessTheUserTurnedLaunchAtLoginOff) {
    runLauncher();
    EXPECT_EQ(launched, std::vector<std::string>{kClock}) << "a store without the key";
    EXPECT_EQ(terminations, 1);

    home.writeStore("[General]\nshouldAutoLaunch=true\n");
    UserDefaults::resetStandardUserDefaults();
    runLauncher();
    EXPECT_EQ(launched, std::vector<std::string>{kClock});
    EXPECT_EQ(terminations, 1);

    home.writeStore("[General]\nshouldAutoLaunch=false\n");
    UserDefaults::resetStandardUserDefaults();
    runLauncher();
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(terminations, 1) << "the launcher ends either way";

    // Only a stored false counts; other settings are no reason to stay put.
    home.writeStore("[General]\ndateFormat=HH:mm\n");
    UserDefaults::resetStandardUserDefaults();
    runLauncher();
    EXPECT_EQ(launched, std::vector<std::string>{kClock});
}

TEST_F(LauncherDelegateTest, StartsNoSecondClock) {
    {
        Workspace clock;
        clock.announceRunningApplication(applicationBundleIdentifier);
        runLauncher();
        EXPECT_TRUE(launched.empty());
        EXPECT_EQ(terminations, 1);
    }
    runLauncher();
    EXPECT_EQ(launched, std::vector<std::string>{kClock}) << "the clock has ended";

    // Only the clock's own identifier counts, the launcher's among them.
    for (const std::string& other :
         {std::string(launcherBundleIdentifier), std::string("io.github.vorelt.vorelt"),
          std::string(applicationBundleIdentifier) + ".Helper", std::string("io.github.vorelt")}) {
        SCOPED_TRACE(other);
        Workspace workspace;
        workspace.announceRunningApplication(other);
        runLauncher();
        EXPECT_EQ(launched, std::vector<std::string>{kClock});
    }
}

TEST_F(LauncherDelegateTest, OnlyAClockOnItsOwnDisplayCounts) {
    // A clock on standard output feeds a bar program; one on another display is another's.
    for (const char* display : {"headless-1", "x11-:97"}) {
        SCOPED_TRACE(display);
        Workspace elsewhere;
        elsewhere.announceRunningApplication(applicationBundleIdentifier, display);
        runLauncher();
        EXPECT_EQ(launched, std::vector<std::string>{kClock});
    }
    Workspace here;
    here.announceRunningApplication(applicationBundleIdentifier, Workspace::currentDisplay());
    runLauncher();
    EXPECT_TRUE(launched.empty());
}

TEST_F(LauncherDelegateTest, EndsAlsoWhenTheClockCannotBeStarted) {
    launchSucceeds = false;
    runLauncher();
    EXPECT_EQ(launched, std::vector<std::string>{kClock});
    EXPECT_EQ(terminations, 1);
}

}  // namespace
}  // namespace vorelt
