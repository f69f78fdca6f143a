#include "platform/app/RunningApplication.h"

namespace vorelt {

RunningApplication::RunningApplication(std::optional<std::string> bundleIdentifier)
    : bundleIdentifier_(std::move(bundleIdentifier)) {}

}  // namespace vorelt
