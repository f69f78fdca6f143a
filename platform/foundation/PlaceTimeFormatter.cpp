#include "platform/foundation/PlaceTimeFormatter.h"

#include <unicode/dtptngen.h>
#include <unicode/numfmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cstdlib>

#include "platform/foundation/DateFormatter.h"

namespace vorelt {

struct PlaceTimeFormatter::Impl {
    icu::Locale locale{DateFormatter::userLocaleIdentifier().c_str()};
    std::unique_ptr<icu::SimpleDateFormat> format;
    std::unique_ptr<icu::NumberFormat> hours;
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
    d->hours.reset(icu::NumberFormat::createInstance(d->locale, status));
    status = U_ZERO_ERROR;
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
    icu::UnicodeString text(minutes < 0 ? u"-" : u"+");
    const int magnitude = std::abs(minutes);
    if (d->hours && d->minutes) {
        d->hours->format(static_cast<int32_t>(magnitude / 60), text);
        if (magnitude % 60 != 0) {
            text += u":";
            d->minutes->format(static_cast<int32_t>(magnitude % 60), text);
        }
    }
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace vorelt
