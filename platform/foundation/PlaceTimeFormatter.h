#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/Date.h"

namespace vorelt {

// ICU's SimpleDateFormat and NumberFormatter: writes the time of day somewhere else, and how far
// ahead of here it is, in the user's locale and its digits.
class PlaceTimeFormatter {
public:
    enum HourCycle { LocaleHours, TwelveHours, TwentyFourHours };

    explicit PlaceTimeFormatter(HourCycle hours = LocaleHours);
    ~PlaceTimeFormatter();

    // Hours and minutes at `date` in the zone `identifier` ("10:30 PM").
    std::string timeString(const Date& date, std::string_view identifier) const;
    // A difference of `minutes` as signed hours, with the minutes when there are any: "+9",
    // "-3:30", "+0".
    std::string hoursString(int minutes) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
