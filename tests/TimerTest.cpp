#include <gtest/gtest.h>

#include "platform/foundation/Timer.h"

using vorelt::Timer;

// The firings themselves are the end-to-end tests' (a title each second), and how late they come,
// and how soon they find the grid again after the wall clock is stepped, the benchmarks'
// (bench/step_bench.cpp, scripts/bench).
TEST(Timer, NextFiringIsJustAfterTheNextWholeInterval) {
    EXPECT_NEAR(Timer::delayUntilNextFiring(100.0, 1.0), 1.001, 1e-9);
    EXPECT_NEAR(Timer::delayUntilNextFiring(100.3, 1.0), 0.701, 1e-9);
    EXPECT_NEAR(Timer::delayUntilNextFiring(100.999, 1.0), 0.002, 1e-9);
    // A firing that came a little early waits for the boundary instead of skipping a second.
    EXPECT_NEAR(Timer::delayUntilNextFiring(100.9998, 1.0), 0.0012, 1e-9);
}
