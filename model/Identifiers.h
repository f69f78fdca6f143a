#pragma once

#include <string_view>

namespace vorelt {

// The application identifier of the clock.
inline constexpr std::string_view applicationBundleIdentifier = "io.github.vorelt.Vorelt";
// The application identifier of VoreltLauncher, the login item that starts the clock.
inline constexpr std::string_view launcherBundleIdentifier = "io.github.vorelt.VoreltLauncher";

}  // namespace vorelt
