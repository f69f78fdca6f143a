#pragma once

#include <functional>

namespace vorelt {

// A moment of the system clock (std::chrono::system_clock): seconds since 1970-01-01 UTC.
class Date {
public:
    constexpr explicit Date(double secondsSince1970 = 0.0) : seconds_(secondsSince1970) {}

    // The current moment on the system's wall clock.
    static Date now();

    constexpr double timeIntervalSince1970() const { return seconds_; }
    constexpr bool operator==(const Date&) const = default;

private:
    double seconds_;
};

// Where an object reads the current moment: Date::now in the product, a clock of their own in
// tests.
using Clock = std::function<Date()>;

}  // namespace vorelt
