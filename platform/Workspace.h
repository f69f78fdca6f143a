#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Object.h"

namespace vorelt {

// An application that is running now, as the workspace lists it.
class RunningApplication : public Object {
public:
    explicit RunningApplication(std::optional<std::string> bundleIdentifier);
    const std::optional<std::string>& bundleIdentifier() const { return bundleIdentifier_; }

private:
    std::optional<std::string> bundleIdentifier_;
};

// The user's session: the applications running in it, and opening things.
class Workspace : public Object {
public:
    static std::shared_ptr<Workspace> sharedWorkspace();

    // The applications of this user that announced themselves and still run.
    std::vector<std::shared_ptr<RunningApplication>> runningApplications();
    // Lists this process under `bundleIdentifier` for as long as it runs.
    void announceRunningApplication(std::string_view bundleIdentifier);
};

}  // namespace vorelt
