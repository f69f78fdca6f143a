#include "platform/foundation/Date.h"

#include <chrono>

namespace vorelt {

Date Date::now() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    return Date(std::chrono::duration<double>(since).count());
}

}  // namespace vorelt
