#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "platform/foundation/DateFormatter.h"

using namespace vorelt;

const Date kMoment(test::kMondayAfterMidnight);

// One formatter for all: each call follows the pattern set last. Quoted words are literal, and an
// unknown letter costs only itself. A new formatter follows the locale.
TEST(DateFormatter, FormatsEachPatternExactlyInTheLocale) {
    DateFormatter formatter;
    for (const auto& [pattern, expected] : std::vector<std::pair<std::string, std::string>>{
             {"E MMM d  h:mm a", "Mon Dec 29  12:05 AM"},
             {"HH:mm:ss", "00:05:09"},
             {"'Tea time'", "Tea time"},
             {"'o''clock' HH", "o'clock 00"},
             {"E j HH:mm", "Mon  00:05"},
             {"HH 'unterminated", "00 unterminated"},
             {std::string("a\0a", 3), std::string("AM\0AM", 5)}}) {
        formatter.setDateFormat(pattern);
        EXPECT_EQ(formatter.stringFromDate(kMoment), expected) << pattern;
    }
    formatter.setDateFormat("\xED\xA0\x80 \xFF HH");  // a lone surrogate and a stray byte
    EXPECT_EQ(formatter.stringFromDate(kMoment), "\uFFFD\uFFFD\uFFFD \uFFFD 00");
    formatter.setDateFormat(std::string(100000, 'y') + "'" + std::string(1000, '\''));
    // The year as wide as the formatter pads it, and each doubled quote one quote.
    EXPECT_EQ(formatter.stringFromDate(kMoment), "0000002025" + std::string(500, '\''));

    // A locale ICU has no names for would show months as "M12": the plain default instead.
    for (const auto& [lang, expected] :
         {std::pair{"de_DE.UTF-8", "Montag Dezember"}, {"xx_YY.UTF-8", "Monday December"}}) {
        qputenv("LANG", lang);
        DateFormatter formatter;
        formatter.setDateFormat("EEEE MMMM");
        EXPECT_EQ(formatter.stringFromDate(kMoment), expected) << lang;
    }
    qputenv("LANG", "en_US.UTF-8");
}
