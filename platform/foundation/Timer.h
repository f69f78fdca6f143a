#pragma once

#include <memory>

#include "platform/foundation/Date.h"
#include "platform/foundation/Object.h"

namespace vorelt {

// A repeating QTimer on the main thread's event loop that sends an action to its target.
//
// It fires just after each whole multiple of its interval on its clock, the wall clock unless it
// is given another (for one second: just after every second boundary). It repeats on the monotonic
// clock, which has no drift against the wall clock, and is aligned again from the wall clock
// whenever its next firing would miss a boundary, so a stepped clock is followed within two
// periods. A scheduled timer is kept by the event loop until it is invalidated, whoever else holds
// it.
class Timer : public Object {
public:
    static std::shared_ptr<Timer> scheduledTimerWithTimeInterval(
        double interval, const std::shared_ptr<Object>& target, Selector selector,
        Clock clock = Date::now);

    ~Timer() override;

    // The slack the timer is allowed: only permission, which it does not take. Firing stays on
    // time.
    void setTolerance(double tolerance);

    // Sends the action now, without changing the schedule.
    void fire();
    void invalidate();

    // Seconds from `now` until the next firing of a timer with `interval`: a little
    // after the next whole multiple of the interval.
    static double delayUntilNextFiring(double now, double interval);

    struct Impl;

private:
    explicit Timer(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
