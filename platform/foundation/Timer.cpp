#include "platform/foundation/Timer.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <set>

#include "platform/foundation/Date.h"

namespace vorelt {

namespace {

// Firing a hair after the boundary makes sure the formatted second is the new one.
constexpr double kLateMargin = 0.001;
constexpr double kShortestInterval = 0.001;
// How late past a grid line a repeating firing may land before the timer is aligned again.
constexpr double kLateSlack = 0.005;

std::set<std::shared_ptr<Timer>>& scheduledTimers() {
    // Never destroyed: its timers must not outlive the toolkit.
    static auto& timers = *new std::set<std::shared_ptr<Timer>>;
    return timers;
}

}  // namespace

struct Timer::Impl {
    double interval = 0.0;
    std::weak_ptr<Object> target;
    Selector selector;
    QTimer qtimer;

    static int milliseconds(double seconds) {
        return static_cast<int>(std::ceil(seconds * 1000.0));
    }

    // Runs once to just after the next grid line, from where the timer repeats by itself.
    void align() {
        qtimer.start(
            milliseconds(delayUntilNextFiring(Date::now().timeIntervalSince1970(), interval)));
    }

    // Re-arming the timer at every firing costs more than the rest of the event loop's work, so
    // it repeats by itself on the monotonic clock, which keeps the wall clock's pace, and is only
    // aligned again when its next firing would miss the grid: after the wall clock was stepped.
    void keepOnTheGrid() {
        // A timer still running at the aligning delay has just reached the grid line.
        const int period = static_cast<int>(std::lround(interval * 1000.0));
        if (qtimer.interval() != period) {
            qtimer.start(period);
            return;
        }
        const double next =
            Date::now().timeIntervalSince1970() + qtimer.remainingTime() / 1000.0 - kLateMargin;
        const double past = next - std::floor(next / interval) * interval;
        // The remaining time is cut to whole milliseconds, so a firing up to one margin "before"
        // the line still lands after it.
        if (past > kLateSlack && interval - past > kLateMargin) {
            align();
        }
    }
};

std::shared_ptr<Timer> Timer::scheduledTimerWithTimeInterval(double interval,
                                                             const std::shared_ptr<Object>& target,
                                                             Selector selector) {
    auto impl = std::make_unique<Impl>();
    impl->interval = std::max(interval, kShortestInterval);
    impl->target = target;
    impl->selector = std::move(selector);
    std::shared_ptr<Timer> timer(new Timer(std::move(impl)));

    QTimer& qtimer = timer->d->qtimer;
    qtimer.setTimerType(Qt::PreciseTimer);
    Timer* raw = timer.get();
    QObject::connect(&qtimer, &QTimer::timeout, [raw] {
        const auto self = std::static_pointer_cast<Timer>(raw->shared_from_this());
        self->d->keepOnTheGrid();
        self->fire();
    });
    raw->d->align();
    scheduledTimers().insert(timer);
    return timer;
}

Timer::Timer(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}

Timer::~Timer() = default;

void Timer::setTolerance(double) {}

void Timer::fire() {
    const auto target = d->target.lock();
    if (!target) {
        invalidate();
        return;
    }
    target->performSelector(d->selector, this);
}

void Timer::invalidate() {
    d->qtimer.stop();
    d->target.reset();
    // Last: this may drop the final reference to the timer.
    auto& timers = scheduledTimers();
    const auto it = std::find_if(timers.begin(), timers.end(),
                                 [this](const auto& timer) { return timer.get() == this; });
    if (it != timers.end()) {
        timers.erase(it);
    }
}

double Timer::delayUntilNextFiring(double now, double interval) {
    interval = std::max(interval, kShortestInterval);
    const double boundary = (std::floor(now / interval) + 1.0) * interval;
    return boundary + kLateMargin - now;
}

}  // namespace vorelt
