#pragma once

#include <fcntl.h>

#include <memory>

#include "menubar/AppDelegate.h"
#include "model/Identifiers.h"
#include "platform/app/ServiceManagement.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/statusbar/StatusLine.h"

namespace vorelt::test {

// A launched clock for the programs that drive it hard: its title goes nowhere, no login item is
// registered, and the time is read from `now`.
inline std::shared_ptr<AppDelegate> launchHeadless(const double& now) {
    clockIdentity().adopt();
    StatusBar::systemStatusBar()->setHost(
        std::make_unique<StatusLine>(::open("/dev/null", O_WRONLY | O_CLOEXEC)));
    auto delegate = std::make_shared<AppDelegate>(Services{[&now] { return Date(now); },
                                                           Workspace::sharedWorkspace(),
                                                           [](const LoginItem&) { return true; }});
    Application::sharedApplication()->setDelegate(delegate);
    delegate->applicationDidFinishLaunching(nullptr);
    return delegate;
}

}  // namespace vorelt::test
