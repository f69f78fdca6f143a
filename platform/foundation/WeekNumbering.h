#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vorelt {

// ICU's GregorianCalendar and NumberFormat: weeks of the year as a locale counts them: which day
// starts a week, and how many of its days the first week must have in the new year (four in ISO
// 8601, one in the United States).
class WeekNumbering {
public:
    // The user's locale for dates when `localeIdentifier` is empty.
    explicit WeekNumbering(std::string_view localeIdentifier = {});
    ~WeekNumbering();

    // 1 Sunday, 2 Monday, ... 7 Saturday.
    int firstDayOfWeek() const;
    int minimalDaysInFirstWeek() const;
    // Counts weeks from `firstDay` instead (a calendar that shows another first day).
    void setFirstDayOfWeek(int firstDay);

    // The week of the year of the day `year`-`month`-`day` (Gregorian, month 1 to 12).
    int weekOfYear(int year, int month, int day) const;
    // `number` in the locale's digits.
    std::string numberString(int number) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
