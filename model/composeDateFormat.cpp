#include "model/composeDateFormat.h"

#include <vector>

namespace vorelt {

namespace {
std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string result;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            result += separator;
        }
        result += parts[i];
    }
    return result;
}
}  // namespace

std::string composeDateFormat(const std::unordered_set<DateFormatSettingsFields>& on,
                              std::string_view customText) {
    using Field = DateFormatSettingsFields;
    const auto isOn = [&on](Field field) { return on.contains(field); };
    if (isOn(Field::shouldUseCustomFormat)) {
        return std::string(customText);
    }

    std::vector<std::string> dateGroup;
    std::vector<std::string> monthDayYear;
    std::vector<std::string> timeGroup;
    if (isOn(Field::shouldShowDayOfWeek)) {
        dateGroup.emplace_back("E");
    }
    if (isOn(Field::shouldShowDate)) {
        monthDayYear.emplace_back("MMM d");
    }
    // "y" is the calendar year; "Y", the week-based year, is a year off around New Year.
    if (isOn(Field::shouldShowYear)) {
        monthDayYear.emplace_back("y");
    }
    if (!monthDayYear.empty()) {
        dateGroup.push_back(joined(monthDayYear, ", "));
    }

    const bool twelveHour = isOn(Field::shouldUseAMPM);
    // "HH" runs 00 to 23; "kk" would show five past midnight as 24:05.
    std::string clock = twelveHour ? "h" : "HH";
    clock += ":mm";
    if (isOn(Field::shouldShowSeconds)) {
        clock += ":ss";
    }
    timeGroup.push_back(std::move(clock));
    if (twelveHour) {
        timeGroup.emplace_back("a");
    }
    if (isOn(Field::shouldShowTimezone)) {
        timeGroup.emplace_back("z");
    }
    return joined(dateGroup, " ") + "  " + joined(timeGroup, " ");
}

}  // namespace vorelt
