#include "launcher/LauncherDelegate.h"

#include <algorithm>
#include <cstdio>

#include "model/Identifiers.h"
#include "model/Preferences.h"
#include "platform/app/Workspace.h"
#include "platform/foundation/UserDefaults.h"

namespace vorelt {

namespace {

// The user unticked starting at login; a store that never heard of it means start.
bool autoLaunchTurnedOff() {
    const auto store = UserDefaults::standardUserDefaults();
    return store->objectForKey(Preferences::shouldAutoLaunchKey) &&
           !store->boolForKey(Preferences::shouldAutoLaunchKey);
}

}  // namespace

LauncherDelegate::LauncherDelegate(std::shared_ptr<Workspace> workspace)
    : workspace_(std::move(workspace)), launch_([workspace = workspace_](const std::string& path) {
          return workspace->launchApplicationAtPath(path);
      }) {}

// Other displays have clocks of their own, and a clock on standard output feeds only its reader.
bool LauncherDelegate::clockIsRunning() const {
    const auto running = workspace_->runningApplications(Workspace::currentDisplay());
    return std::any_of(running.begin(), running.end(), [](const auto& application) {
        return application->bundleIdentifier() == applicationBundleIdentifier;
    });
}

void LauncherDelegate::applicationDidFinishLaunching(Object*) {
    if (!autoLaunchTurnedOff() && !clockIsRunning()) {
        const auto clock = clockProgramPath_ ? clockProgramPath_ : clockProgramPath();
        if (!clock) {
            std::fputs("vorelt-launcher: the clock's program vorelt is not installed\n", stderr);
        } else if (!launch_(*clock)) {
            std::fprintf(stderr, "vorelt-launcher: could not start %s\n", clock->c_str());
        }
    }
    Application::sharedApplication()->terminate(nullptr);
}

std::optional<std::string> LauncherDelegate::clockProgramPath() {
    // Installed, the launcher is in libexec/vorelt/ and the clock in bin/.
    return Workspace::pathOfInstalledProgram("vorelt", "../../bin");
}

void LauncherDelegate::setLaunchHandler(std::function<bool(const std::string& path)> launch) {
    launch_ = std::move(launch);
}

void LauncherDelegate::setClockProgramPath(std::string path) {
    clockProgramPath_ = std::move(path);
}

}  // namespace vorelt
