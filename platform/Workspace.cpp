#include "platform/Workspace.h"

namespace vorelt {

RunningApplication::RunningApplication(std::optional<std::string> bundleIdentifier)
    : bundleIdentifier_(std::move(bundleIdentifier)) {}

std::shared_ptr<Workspace> Workspace::sharedWorkspace() {
    static const auto workspace = std::make_shared<Workspace>();
    return workspace;
}

std::vector<std::shared_ptr<RunningApplication>> Workspace::runningApplications() {
    return {};
}

void Workspace::announceRunningApplication(std::string_view) {}

}  // namespace vorelt
