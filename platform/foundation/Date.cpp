#include "platform/foundation/Date.h"

#include <chrono>
#include <utility>

namespace vorelt {

namespace {
std::function<Date()>& installedClock() {
    static std::function<Date()> clock;
    return clock;
}
}  // namespace

Date Date::now() {
    if (const auto& clock = installedClock()) {
        return clock();
    }
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return Date(std::chrono::duration<double>(since).count());
}

void Date::setClock(std::function<Date()> clock) {
    installedClock() = std::move(clock);
}

}  // namespace vorelt
