#include <gtest/gtest.h>

#include "TestSupport.h"
#include "menubar/AppDelegate.h"
#include "platform/foundation/Timer.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"

namespace vorelt {
namespace {

// A launched delegate with its own store and a clock that the test moves.
class MenuTime : public testing::Test {
protected:
    void SetUp() override {
        delegate = std::make_shared<AppDelegate>();
        store = delegate->userDefaults;
    }
    void TearDown() override {
        delegate->applicationWillTerminate(nullptr);
        StatusBar::systemStatusBar()->removeStatusItem(delegate->statusItem);
    }
    void launch() { delegate->applicationDidFinishLaunching(nullptr); }
    std::string title() const {
        const auto button = delegate->statusItem->button();
        return button ? button->title() : "(no button)";
    }
    // What the timer does once a second, one second later.
    std::string tick() {
        clock.advance(1.0);
        delegate->updateMenuTime();
        return title();
    }

    test::TemporaryConfigHome home;
    test::ManualClock clock{test::kMondayAfterMidnight};
    std::shared_ptr<AppDelegate> delegate;
    std::shared_ptr<UserDefaults> store;
};

TEST_F(MenuTime, LaunchShowsTheDefaultPatternAndWritesNothing) {
    launch();
    EXPECT_EQ(title(), "Mon Dec 29  12:05 AM");
    EXPECT_FALSE(QFileInfo::exists(home.storePath())) << "the clock never writes the store";
}

TEST_F(MenuTime, EachTickFollowsTheStore) {
    launch();
    store->setObject("HH:mm:ss", "dateFormat");
    EXPECT_EQ(tick(), "00:05:10");
    store->setObject("", "dateFormat");
    EXPECT_EQ(tick(), "") << "a stored empty pattern is used as it is";
    store->setObject("'It is' h a", "dateFormat");
    EXPECT_EQ(tick(), "It is 12 AM");
}

TEST_F(MenuTime, TheTimerDrivesTheTitle) {
    launch();
    store->setObject("'tick' ss", "dateFormat");
    delegate->timer->fire();
    EXPECT_EQ(title(), "tick 09");
    clock.advance(2.0);
    delegate->timer->fire();
    EXPECT_EQ(title(), "tick 11");
}

TEST_F(MenuTime, FlashingBlanksEveryColonOnAlternateTicksFromLaunch) {
    store->setObject("HH:mm:ss 'at:'", "dateFormat");
    store->setBool(true, "shouldFlashSeparator");
    launch();
    EXPECT_EQ(title(), "00 05 09 at ");
    EXPECT_EQ(tick(), "00:05:10 at:");
    EXPECT_EQ(tick(), "00 05 11 at ");
    // Off while blanked: colons come back and the phase is kept.
    store->setBool(false, "shouldFlashSeparator");
    EXPECT_EQ(tick(), "00:05:12 at:");
    EXPECT_EQ(tick(), "00:05:13 at:");
    EXPECT_TRUE(delegate->separatorHidden);
    store->setBool(true, "shouldFlashSeparator");
    EXPECT_EQ(tick(), "00:05:14 at:");
    EXPECT_EQ(tick(), "00 05 15 at ");
}

TEST_F(MenuTime, AnItemWithoutAButtonIgnoresTicks) {
    store->setBool(true, "shouldFlashSeparator");
    launch();
    const auto button = delegate->statusItem->button();
    const std::string before = button->title();
    delegate->statusItem->setButton(nullptr);
    tick();
    tick();
    tick();
    EXPECT_TRUE(delegate->separatorHidden)
        << "the launch tick hid the colons and nothing since flipped it";
    EXPECT_EQ(button->title(), before);
}

}  // namespace
}  // namespace vorelt
