#pragma once

#include <string>
#include <vector>

namespace vorelt {

// The desktop's date and time tool, chosen by $XDG_CURRENT_DESKTOP and found on the PATH.
// Linux has no single way to open the desktop's settings, so each desktop's tool is tried: the one
// of the running desktop first, then any that is installed.
class DesktopSettings {
public:
    // The URL that stands for the date and time settings.
    static constexpr const char* dateTimeURL = "x-desktop-settings:date-time";

    // The command (program and arguments) that opens the date and time settings here, or an
    // empty one when no known tool is installed.
    static std::vector<std::string> dateTimeCommand();
};

}  // namespace vorelt
