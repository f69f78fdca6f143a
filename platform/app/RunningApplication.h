#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Object.h"

namespace vorelt {

// A program that holds its lock file under $XDG_RUNTIME_DIR/<name>/, as the workspace lists it.
class RunningApplication : public Object {
public:
    explicit RunningApplication(std::optional<std::string> bundleIdentifier);
    // The identifier it announced itself under, exactly as announced.
    const std::optional<std::string>& bundleIdentifier() const { return bundleIdentifier_; }

private:
    std::optional<std::string> bundleIdentifier_;
};

}  // namespace vorelt
