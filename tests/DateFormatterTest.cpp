#include <gtest/gtest.h>

#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/TimeZone.h"

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

// The text of a minute is kept between ticks: every second, forwards and backwards, through changes
// of offset (New York's and Lord Howe's half hour), before 1970, in a zone whose offset had seconds
// (Amsterdam, 1900), at noon, and after changes of pattern and of zone (to one of the same offset),
// it must read as ICU's own formatting of the moment does, in calendars and digits of several
// kinds.
TEST(DateFormatter, KeepsNoMinuteLongerThanItsText) {
    const std::vector<std::pair<const char*, double>> zonesAndStarts{
        {"America/New_York", 1772953200.0},    {"America/New_York", 1793512800.0},
        {"Australia/Lord_Howe", 1775314800.0}, {"Australia/Lord_Howe", 1791041400.0},
        {"Europe/Amsterdam", -2208988800.0},   {"UTC", -43200.0},
        {"Asia/Kolkata", 1798761540.0}};
    const char* const patterns[] = {"E MMM d  h:mm:ss a",    "s 'ss' sss:ss", "zzzz HH:mm:ss",
                                    "VVVV O xxx mm:ss",      "mm:ss.SSS A",   "h:mm:ss B b",
                                    "EEEE d MMMM y G  HH:mm"};
    for (const char* lang : {"en_US", "ar_EG", "fa_IR", "th_TH", "he_IL"}) {
        qputenv("LANG", lang);
        DateFormatter formatter;
        for (const auto& [zone, start] : zonesAndStarts) {
            qputenv("TZ", zone);
            TimeZone::resetSystemTimeZone();
            std::unique_ptr<icu::TimeZone> icuZone(icu::TimeZone::createTimeZone(zone));
            for (const char* pattern : patterns) {
                UErrorCode status = U_ZERO_ERROR;
                icu::SimpleDateFormat stock(icu::UnicodeString::fromUTF8(pattern),
                                            icu::Locale(lang), status);
                stock.setTimeZone(*icuZone);
                formatter.setDateFormat(pattern);
                // Ticks a little after each second and in the middle of it, forwards and then
                // backwards, as after the clock was set back.
                for (int step = 0; step < 560; ++step) {
                    const double at = start - 70.0 + 0.5 * (step < 280 ? step : 559 - step);
                    const Date moment(at + 0.0013);
                    icu::UnicodeString text;
                    std::string expected;
                    stock.format(moment.timeIntervalSince1970() * 1000.0, text)
                        .toUTF8String(expected);
                    ASSERT_EQ(formatter.stringFromDate(moment), expected)
                        << lang << " " << zone << " " << pattern << " " << at;
                }
            }
        }
    }
    qputenv("LANG", "en_US.UTF-8");
    DateFormatter formatter;
    formatter.setDateFormat("VVVV HH:mm:ss");
    for (const auto& [zone, at, expected] :
         {std::tuple{"Europe/Berlin", 1798714801.0, "Germany Time 12:00:01"},
          {"Europe/Paris", 1798714802.0, "France Time 12:00:02"}}) {
        qputenv("TZ", zone);
        TimeZone::resetSystemTimeZone();
        EXPECT_EQ(formatter.stringFromDate(Date(at)), expected);
    }
    formatter.setDateFormat("HH:mm:ss");
    EXPECT_EQ(formatter.stringFromDate(Date(1798714803.0)), "12:00:03");
    qputenv("TZ", "UTC");
    TimeZone::resetSystemTimeZone();
}
