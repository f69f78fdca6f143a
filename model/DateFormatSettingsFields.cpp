#include "model/DateFormatSettingsFields.h"

namespace vorelt {

namespace {
constexpr std::array<std::string_view, DateFormatSettingsFields::count> kRawValues = {
    "shouldShowDayOfWeek", "shouldShowDate",     "shouldShowYear",
    "shouldShowSeconds",   "shouldShowTimezone", "shouldFlashSeparator",
    "shouldUseAMPM",       "shouldUse24Hour",    "shouldUseCustomFormat",
};
}  // namespace

std::string_view DateFormatSettingsFields::rawValue() const {
    return kRawValues[static_cast<std::size_t>(case_)];
}

const std::array<DateFormatSettingsFields, DateFormatSettingsFields::count>&
DateFormatSettingsFields::allCases() {
    static constexpr std::array<DateFormatSettingsFields, count> cases = {
        shouldShowDayOfWeek, shouldShowDate,     shouldShowYear,
        shouldShowSeconds,   shouldShowTimezone, shouldFlashSeparator,
        shouldUseAMPM,       shouldUse24Hour,    shouldUseCustomFormat,
    };
    return cases;
}

}  // namespace vorelt
