#pragma once

#include <functional>

namespace vorelt {

// A moment in time, as seconds since 1970-01-01 00:00:00 UTC.
class Date {
public:
    constexpr explicit Date(double secondsSince1970 = 0.0) : seconds_(secondsSince1970) {}

    // The current moment, from the installed clock (the system's wall clock unless a test set one).
    static Date now();
    // Replaces the source of `now()`; an empty function restores the wall clock.
    static void setClock(std::function<Date()> clock);

    constexpr double timeIntervalSince1970() const { return seconds_; }
    constexpr bool operator==(const Date&) const = default;

private:
    double seconds_;
};

}  // namespace vorelt
