#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "model/Preferences.h"
#include "model/composeDateFormat.h"
#include "platform/foundation/DateFormatter.h"

namespace vorelt {
namespace {

using Field = DateFormatSettingsFields;
using Options = std::unordered_set<Field>;

// The six options that shape the pattern, as bits of a combination number.
const Field kShaping[] = {Field::shouldShowDayOfWeek, Field::shouldShowDate,
                          Field::shouldShowYear,      Field::shouldShowSeconds,
                          Field::shouldShowTimezone,  Field::shouldUseAMPM};

Options optionsFor(int combination) {
    Options on;
    for (int bit = 0; bit < 6; ++bit) {
        if ((combination & (1 << bit)) != 0) {
            on.insert(kShaping[bit]);
        }
    }
    return on;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ComposeDateFormat, EveryCombinationHasTheRightShape) {
    std::set<std::string> distinct;
    for (int combination = 0; combination < 64; ++combination) {
        const Options on = optionsFor(combination);
        const auto is = [&on](Field field) { return on.contains(field); };
        const std::string pattern = composeDateFormat(on, "ignored");
        SCOPED_TRACE(pattern);
        distinct.insert(pattern);

        const auto gap = pattern.find("  ");
        ASSERT_NE(gap, std::string::npos);
        const std::string date = pattern.substr(0, gap);
        const std::string time = pattern.substr(gap + 2);

        const bool anyDate = is(Field::shouldShowDayOfWeek) || is(Field::shouldShowDate) ||
                             is(Field::shouldShowYear);
        EXPECT_EQ(date.empty(), !anyDate);
        EXPECT_EQ(date.starts_with("E"), is(Field::shouldShowDayOfWeek));
        EXPECT_EQ(contains(date, "MMM d"), is(Field::shouldShowDate));
        EXPECT_EQ(date.ends_with("y"), is(Field::shouldShowYear));
        EXPECT_EQ(contains(date, ", "), is(Field::shouldShowDate) && is(Field::shouldShowYear));
        EXPECT_FALSE(contains(date, "  ") || date.starts_with(" ") || date.ends_with(" "));

        EXPECT_EQ(time.starts_with(is(Field::shouldUseAMPM) ? "h:mm" : "HH:mm"), true);
        EXPECT_EQ(contains(time, ":ss"), is(Field::shouldShowSeconds));
        EXPECT_EQ(contains(time, " a"), is(Field::shouldUseAMPM));
        EXPECT_EQ(time.ends_with(" z"), is(Field::shouldShowTimezone));
        EXPECT_FALSE(contains(time, "  ") || time.ends_with(" "));
        EXPECT_FALSE(contains(pattern, "Y") || contains(pattern, "k"));

        // Flashing and the 24-hour box never change the pattern.
        Options more = on;
        more.insert(Field::shouldFlashSeparator);
        more.insert(Field::shouldUse24Hour);
        EXPECT_EQ(composeDateFormat(more, "ignored"), pattern);
    }
    EXPECT_EQ(distinct.size(), 64u);
}

TEST(ComposeDateFormat, SeededDefaultsGiveTheDefaultPattern) {
    EXPECT_EQ(composeDateFormat(
                  {Field::shouldShowDayOfWeek, Field::shouldShowDate, Field::shouldUseAMPM}, ""),
              Preferences::defaultDateFormat);
    EXPECT_EQ(Preferences::defaultDateFormat.size(), 15u);
}

TEST(ComposeDateFormat, CalendarYearAndMidnightHourAroundNewYear) {
    // Monday 29 December 2025, five past midnight: a week-based year would say 2026 and a 1-24
    // hour would say 24.
    DateFormatter formatter;
    const Date moment(test::kMondayAfterMidnight);
    formatter.setDateFormat(composeDateFormat({Field::shouldShowDate, Field::shouldShowYear}, ""));
    EXPECT_EQ(formatter.stringFromDate(moment), "Dec 29, 2025  00:05");
    formatter.setDateFormat(composeDateFormat(
        {Field::shouldShowYear, Field::shouldUseAMPM, Field::shouldShowSeconds}, ""));
    EXPECT_EQ(formatter.stringFromDate(moment), "2025  12:05:09 AM");
}

TEST(ComposeDateFormat, CustomTextIsReturnedUntouched) {
    const Options custom = {Field::shouldUseCustomFormat, Field::shouldShowYear,
                            Field::shouldShowSeconds};
    for (const std::string text : {"HH:mm", "  padded  ", "", "'quoted' E", "ÿ\xF0\x9F\x95\x90"}) {
        EXPECT_EQ(composeDateFormat(custom, text), text);
    }
    EXPECT_EQ(composeDateFormat({Field::shouldShowDate}, "HH:mm"), "MMM d  HH:mm");
}

}  // namespace
}  // namespace vorelt
