#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/app/Application.h"
#include "platform/app/Workspace.h"

namespace vorelt {

// The login item: started by the session at login, it starts the clock unless the user turned
// starting at login off or the clock runs already, and ends.
class LauncherDelegate : public ApplicationDelegate {
public:
    // `workspace` lists the running clocks and starts the clock.
    explicit LauncherDelegate(std::shared_ptr<Workspace> workspace = Workspace::sharedWorkspace());

    void applicationDidFinishLaunching(Object* notification) override;

    // The clock's program: beside the launcher while built, else in bin/ of the installed layout
    // (the launcher lives in libexec/vorelt/). Nothing when neither is there.
    static std::optional<std::string> clockProgramPath();

    // Tests: `launch` stands in for starting the program at its path.
    void setLaunchHandler(std::function<bool(const std::string& path)> launch);
    // Tests: the clock's program is `path`, wherever the launcher is.
    void setClockProgramPath(std::string path);

private:
    // A clock on this display, the one the clock started now would show on.
    bool clockIsRunning() const;

    const std::shared_ptr<Workspace> workspace_;
    std::function<bool(const std::string&)> launch_;
    std::optional<std::string> clockProgramPath_;
};

}  // namespace vorelt
