#pragma once

#include <string>
#include <string_view>

#include "platform/app/ServiceManagement.h"
#include "platform/foundation/Identity.h"

namespace vorelt {

// The application identifier of the clock.
inline constexpr std::string_view applicationBundleIdentifier = "io.github.vorelt.Vorelt";
// The application identifier of VoreltLauncher, the login item that starts the clock.
inline constexpr std::string_view launcherBundleIdentifier = "io.github.vorelt.VoreltLauncher";

// The clock, and its launcher, as they name themselves: both keep their settings and their
// announcements in the folders of "vorelt".
inline Identity clockIdentity() {
    return Identity{std::string(applicationBundleIdentifier), "vorelt", "Vorelt"};
}
inline Identity launcherIdentity() {
    return Identity{std::string(launcherBundleIdentifier), "vorelt", "Vorelt"};
}

// VoreltLauncher as a login item: installed in libexec/vorelt/, beside the clock in a build.
inline LoginItem launcherLoginItem() {
    return LoginItem{std::string(launcherBundleIdentifier), "vorelt-launcher", "../libexec/vorelt",
                     "Vorelt", "Starts the Vorelt clock when you log in"};
}

}  // namespace vorelt
