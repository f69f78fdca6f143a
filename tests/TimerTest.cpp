#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "platform/foundation/Timer.h"

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

// How late the firings come, and how soon they find the grid again after the wall clock is
// stepped, are measured by the benchmarks (bench/step_bench.cpp, scripts/bench).
TEST(Timer, RepeatsUntilInvalidated) {
    const auto counter = std::make_shared<Counter>();
    const auto timer = Timer::scheduledTimerWithTimeInterval(0.02, counter, "tick", nullptr);
    ASSERT_TRUE(test::waitFor([&] { return counter->firings.size() >= 3; }));
    timer->invalidate();
    EXPECT_FALSE(timer->isValid());
    const auto count = counter->firings.size();
    test::runEventLoopFor(100);
    EXPECT_EQ(counter->firings.size(), count);
}

TEST(Timer, KeepsFiringWithoutAnOwnerAndStopsWhenTheTargetIsGone) {
    auto counter = std::make_shared<Counter>();
    std::weak_ptr<Timer> weak =
        Timer::scheduledTimerWithTimeInterval(0.02, counter, "tick", nullptr);
    ASSERT_TRUE(test::waitFor([&] { return counter->firings.size() >= 2; }));
    ASSERT_FALSE(weak.expired()) << "the event loop keeps a scheduled timer";
    counter.reset();
    EXPECT_TRUE(test::waitFor([&] { return weak.expired(); }, 500));
}

}  // namespace
}  // namespace vorelt
