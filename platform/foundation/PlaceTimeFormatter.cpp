#include "platform/foundation/PlaceTimeFormatter.h"

#include <unicode/dtptngen.h>
#include <unicode/numberformatter.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstdlib>

#include "platform/foundation/DateFormatter.h"

namespace vorelt {

struct PlaceTimeFormatter::Impl {
    icu::Locale locale{DateFormatter::userLocaleIdentifier().c_str()};
    std::unique_ptr<icu::SimpleDateFormat> format;
    // With the sign as the locale writes it (with its direction marks where it needs them).
    icu::number::LocalizedNumberFormatter hours;
    std::unique_ptr<icu::NumberFormat> minutes;
};

PlaceTimeFormatter::PlaceTimeFormatter(HourCycle cycle) : d(std::make_unique<Impl>()) {
    UErrorCode status = U_ZERO_ERROR;
    const char16_t* skeleton = cycle == TwelveHours       ? u"hmm"
                               : cycle == TwentyFourHours ? u"Hmm"
                                                          : u"jmm";
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(d->locale, status));
    icu::UnicodeString pattern =
        generator ? generator->getBestPattern(skeleton, status) : icu::UnicodeString(u"HH:mm");
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        pattern = u"HH:mm";
    }
    d->format = std::make_unique<icu::SimpleDateFormat>(pattern, d->locale, status);
    status = U_ZERO_ERROR;
    d->hours = icu::number::NumberFormatter::withLocale(d->locale).sign(UNUM_SIGN_ALWAYS);
    d->minutes.reset(icu::NumberFormat::createInstance(d->locale, status));
    if (d->minutes) {
        d->minutes->setMinimumIntegerDigits(2);
    }
}

PlaceTimeFormatter::~PlaceTimeFormatter() = default;

std::string PlaceTimeFormatter::timeString(const Date& date, std::string_view identifier) const {
    if (!d->format) {
        return {};
    }
    d->format->adoptTimeZone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
        icu::StringPiece(identifier.data(), static_cast<int32_t>(identifier.size())))));
    icu::UnicodeString text;
    d->format->format(date.timeIntervalSince1970() * 1000.0, text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::string PlaceTimeFormatter::hoursString(int minutes) const {
    const int magnitude = std::abs(minutes);
    // Negative zero keeps its sign: half an hour behind is "-0:30".
    const double hours = std::copysign(static_cast<double>(magnitude / 60), minutes < 0 ? -1 : 1);
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text = d->hours.formatDouble(hours, status).toString(status);
    if (d->minutes && magnitude % 60 != 0) {
        text += u":";
        d->minutes->format(static_cast<int32_t>(magnitude % 60), text);
    }
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace vorelt
