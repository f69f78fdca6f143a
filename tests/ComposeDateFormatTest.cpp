#include <gtest/gtest.h>

#include <map>
#include <string>

#include "model/composeDateFormat.h"

using namespace vorelt;

using Field = DateFormatSettingsFields;

static bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Every combination of the options but the custom one, as the bits of a number in their order; a
// custom text is kept as it is.
TEST(ComposeDateFormat, EveryCombinationHasTheRightShapeAndCustomTextIsKept) {
    std::map<int, std::string> byShape;
    for (int combination = 0; combination < 256; ++combination) {
        std::unordered_set<Field> on;
        for (int bit = 0; bit < 8; ++bit) {
            if ((combination & (1 << bit)) != 0) {
                on.insert(Field::allCases()[bit]);
            }
        }
        const auto is = [&on](Field field) { return on.contains(field); };
        const std::string pattern = composeDateFormat(on, "ignored");
        SCOPED_TRACE(pattern);
        // Flashing (bit 5) and the 24-hour box (bit 7) never change the pattern.
        EXPECT_EQ(byShape.try_emplace(combination & 0b01011111, pattern).first->second, pattern);

        const auto gap = pattern.find("  ");
        ASSERT_NE(gap, std::string::npos);
        const std::string date = pattern.substr(0, gap);
        const std::string time = pattern.substr(gap + 2);
        EXPECT_EQ(date.starts_with("E"), is(Field::shouldShowDayOfWeek));
        EXPECT_EQ(contains(date, "MMM d"), is(Field::shouldShowDate));
        EXPECT_EQ(date.ends_with("y"), is(Field::shouldShowYear));
        EXPECT_EQ(contains(date, ", "), is(Field::shouldShowDate) && is(Field::shouldShowYear));
        EXPECT_FALSE(contains(date, "  ") || date.starts_with(" ") || date.ends_with(" "));
        EXPECT_TRUE(time.starts_with(is(Field::shouldUseAMPM) ? "h:mm" : "HH:mm"));
        EXPECT_EQ(contains(time, ":ss"), is(Field::shouldShowSeconds));
        EXPECT_EQ(contains(time, " a"), is(Field::shouldUseAMPM));
        EXPECT_EQ(time.ends_with(" z"), is(Field::shouldShowTimezone));
        EXPECT_FALSE(contains(time, "  ") || time.ends_with(" "));
        // Around New Year a week-based year (Y) is a year off, a two-digit year (yy) is no
        // calendar year, and at midnight a 1-24 hour (k) says 24.
        EXPECT_FALSE(contains(pattern, "Y") || contains(pattern, "yy") || contains(pattern, "k"));
    }
    EXPECT_EQ(byShape.size(), 64u);
    // Custom text is the pattern as it is, whatever the other options.
    const std::unordered_set<Field> custom = {Field::shouldUseCustomFormat, Field::shouldShowYear};
    EXPECT_EQ(composeDateFormat(custom, "  padded  "), "  padded  ");
    // The keys are what settings files hold: a changed one would lose the user's setting.
    std::string keys;
    for (const Field field : Field::allCases()) {
        keys += std::string(field.rawValue()) + " ";
    }
    EXPECT_EQ(keys,
              "shouldShowDayOfWeek shouldShowDate shouldShowYear shouldShowSeconds "
              "shouldShowTimezone shouldFlashSeparator shouldUseAMPM shouldUse24Hour "
              "shouldUseCustomFormat ");
}
