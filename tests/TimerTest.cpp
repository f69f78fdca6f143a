#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "TestSupport.h"
#include "platform/Timer.h"

namespace vorelt {
namespace {

class Counter : public Object {
public:
    std::vector<double> firings;
    Action actionForSelector(const Selector& selector) override {
        if (selector == "tick") {
            return [this](Object*) { firings.push_back(Date::now().timeIntervalSince1970()); };
        }
        return {};
    }
};

TEST(Timer, NextFiringIsJustAfterTheNextWholeInterval) {
    EXPECT_NEAR(Timer::delayUntilNextFiring(100.0, 1.0), 1.001, 1e-9);
    EXPECT_NEAR(Timer::delayUntilNextFiring(100.3, 1.0), 0.701, 1e-9);
    EXPECT_NEAR(Timer::delayUntilNextFiring(100.999, 1.0), 0.002, 1e-9);
    // A firing that came a little early waits for the boundary instead of skipping a second.
    EXPECT_NEAR(Timer::delayUntilNextFiring(100.9998, 1.0), 0.0012, 1e-9);
    EXPECT_NEAR(Timer::delayUntilNextFiring(119.5, 60.0), 0.501, 1e-9);
    EXPECT_GT(Timer::delayUntilNextFiring(5.0, 0.0), 0.0);
}

TEST(Timer, RepeatsOnTheGridUntilInvalidated) {
    const auto counter = std::make_shared<Counter>();
    const auto timer = Timer::scheduledTimerWithTimeInterval(0.05, counter, "tick", nullptr, true);
    timer->setTolerance(0.25);
    EXPECT_DOUBLE_EQ(timer->tolerance(), 0.25);
    ASSERT_TRUE(test::waitFor([&] { return counter->firings.size() >= 4; }));
    // Lateness on a busy machine is allowed; firing between grid lines is not.
    std::vector<double> late;
    for (const double at : counter->firings) {
        late.push_back(at - std::floor(at / 0.05) * 0.05);
    }
    std::sort(late.begin(), late.end());
    EXPECT_LT(late[late.size() / 2], 0.02)
        << "median firing was " << late[late.size() / 2] << " s after the grid line";
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
    const auto count = counter->firings.size();
    test::waitFor([] { return false; }, 150);
    EXPECT_EQ(counter->firings.size(), count);
}

// A wall clock stepped by a fraction of the interval puts the timer off the grid; it must be back
// on it within two firings, and stay there.
TEST(Timer, FindsTheGridAgainAfterTheWallClockIsStepped) {
    double offset = 0.0;
    Date::setClock([&offset] {
        const auto since = std::chrono::system_clock::now().time_since_epoch();
        return Date(std::chrono::duration<double>(since).count() + offset);
    });
    const auto counter = std::make_shared<Counter>();
    const auto timer = Timer::scheduledTimerWithTimeInterval(0.1, counter, "tick", nullptr, true);
    ASSERT_TRUE(test::waitFor([&] { return counter->firings.size() >= 2; }));
    offset = 0.037;
    const auto stepped = counter->firings.size();
    ASSERT_TRUE(test::waitFor([&] { return counter->firings.size() >= stepped + 6; }));
    timer->invalidate();
    Date::setClock(nullptr);
    int offGrid = 0;
    for (auto i = stepped + 2; i < counter->firings.size(); ++i) {
        const double at = counter->firings[i];
        offGrid += at - std::floor(at / 0.1) * 0.1 > 0.03 ? 1 : 0;
    }
    EXPECT_LE(offGrid, 1) << "firings after the step stayed off the grid";
}

TEST(Timer, KeepsFiringWithoutAnOwnerAndStopsWhenTheTargetIsGone) {
    auto counter = std::make_shared<Counter>();
    std::weak_ptr<Timer> weak =
        Timer::scheduledTimerWithTimeInterval(0.02, counter, "tick", nullptr, true);
    ASSERT_TRUE(test::waitFor([&] { return counter->firings.size() >= 2; }));
    ASSERT_FALSE(weak.expired()) << "the event loop keeps a scheduled timer";
    counter.reset();
    EXPECT_TRUE(test::waitFor([&] { return weak.expired(); }, 500));
}

TEST(Timer, OneShotFiresOnce) {
    const auto counter = std::make_shared<Counter>();
    const auto timer = Timer::scheduledTimerWithTimeInterval(0.01, counter, "tick", nullptr, false);
    ASSERT_TRUE(test::waitFor([&] { return !counter->firings.empty(); }));
    test::waitFor([] { return false; }, 60);
    EXPECT_EQ(counter->firings.size(), 1u);
    EXPECT_FALSE(timer->isValid());
}

}  // namespace
}  // namespace vorelt
