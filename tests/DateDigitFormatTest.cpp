#include <gtest/gtest.h>

#include <unicode/smpdtfmt.h>

#include <string>

#include "platform/foundation/DateDigitFormat.h"

using namespace vorelt;

// The digits written directly must be exactly those of ICU's own decimal format, in every kind
// of numbering, padding and truncation a date pattern can ask for. Numerals that are not ten
// digits are left to ICU.
TEST(DateDigitFormat, WritesWhatTheDecimalFormatWrites) {
    const char* const patterns[] = {
        "d M y yy yyyy yyyyy",
        "dd MM HH mm ss SSS S SSSSS",
        "h:mm a k K D DDD w ww W",
        "u uu Y YYYY e c r U G",
        "'ss' ss ''yy'' h 'o''clock'",
        "Q QQ q F g",
        "SSSSSSSSSSSSSSSSSSSS dddddddddddd yyyyyyyyyyy HHHHHHHHHHHHHHHHHHHHHH"};
    // An ordinary moment, one before the year 1000 (padding), one long BC (a negative "u").
    const UDate moments[] = {1766966709123.0, -30610224000000.0 + 5.0e9, -9.0e13};
    std::size_t written = 0;
    for (const char* name : {"en_US", "de_DE", "fa_IR", "ar_EG", "bn_BD", "mr_IN", "my_MM",
                             "th_TH@numbers=thai", "hi_IN@numbers=deva", "zh_CN", "ja_JP",
                             "ja_JP@numbers=jpanfin", "en@numbers=roman", "zh@numbers=hanidays"}) {
        const icu::Locale locale(name);
        for (const char* pattern : patterns) {
            UErrorCode status = U_ZERO_ERROR;
            icu::SimpleDateFormat stock(icu::UnicodeString::fromUTF8(pattern), locale, status);
            icu::SimpleDateFormat direct(icu::UnicodeString::fromUTF8(pattern), locale, status);
            ASSERT_TRUE(U_SUCCESS(status)) << name;
            if (auto digits = DateDigitFormat::create(locale, *direct.getNumberFormat())) {
                direct.adoptNumberFormat(digits.release());
                ++written;
            }
            for (const UDate moment : moments) {
                icu::UnicodeString a, b;
                std::string stockText, directText;
                stock.format(moment, a).toUTF8String(stockText);
                direct.format(moment, b).toUTF8String(directText);
                EXPECT_EQ(directText, stockText) << name << " " << pattern;
            }
        }
    }
    EXPECT_EQ(written, 11 * std::size(patterns)) << "the eleven locales of ten digits";
}
