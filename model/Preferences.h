#pragma once

#include <string_view>

namespace vorelt {

class UserDefaults;

// The keys of the preference store besides the display options, their defaults, and the seeding
// of defaults that the settings view does when it loads.
class Preferences {
public:
    static constexpr std::string_view dateFormatKey = "dateFormat";
    static constexpr std::string_view shouldAutoLaunchKey = "shouldAutoLaunch";
    // Week numbers beside the popover calendar's rows; absent reads as off and is never seeded.
    static constexpr std::string_view shouldShowWeekNumbersKey = "shouldShowWeekNumbers";
    // Two blanks before the hour.
    static constexpr std::string_view defaultDateFormat = "E MMM d  h:mm a";

    // When "shouldShowDayOfWeek" is absent: writes every other option's default in declaration
    // order, then the default pattern unless one is stored, then "shouldShowDayOfWeek"; a stored
    // pattern other than the default turns the custom option on. When it is present, writes
    // nothing.
    static void seedDateFormatOptions(UserDefaults& store);
    // Writes true under "shouldAutoLaunch" when it is absent.
    static void seedShouldAutoLaunch(UserDefaults& store);
};

}  // namespace vorelt
