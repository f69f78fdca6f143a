#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Object.h"

namespace vorelt {

// A plain C++ notice handed to delegates' methods, neither a Qt nor a D-Bus signal.
// Something that happened to an object.
struct Notification {
    std::string name;
    std::shared_ptr<Object> object;
};

}  // namespace vorelt
