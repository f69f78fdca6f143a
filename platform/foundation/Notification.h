#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Object.h"

namespace vorelt {

// Something that happened to an object, as handed to delegates.
struct Notification {
    std::string name;
    std::shared_ptr<Object> object;
};

}  // namespace vorelt
