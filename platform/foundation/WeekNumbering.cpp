#include "platform/foundation/WeekNumbering.h"

#include <unicode/gregocal.h>
#include <unicode/numfmt.h>

#include "platform/foundation/DateFormatter.h"

namespace vorelt {

struct WeekNumbering::Impl {
    std::unique_ptr<icu::Calendar> calendar;
    std::unique_ptr<icu::NumberFormat> numbers;
};

WeekNumbering::WeekNumbering(std::string_view localeIdentifier) : d(std::make_unique<Impl>()) {
    const std::string id = localeIdentifier.empty() ? DateFormatter::userLocaleIdentifier()
                                                    : std::string(localeIdentifier);
    const icu::Locale locale(id.c_str());
    UErrorCode status = U_ZERO_ERROR;
    // Gregorian whatever the locale's own calendar: the month grid beside it is Gregorian. The
    // week rules are the locale's all the same.
    d->calendar =
        std::make_unique<icu::GregorianCalendar>(icu::TimeZone::getGMT()->clone(), locale, status);
    status = U_ZERO_ERROR;
    d->numbers.reset(icu::NumberFormat::createInstance(locale, status));
    if (d->numbers) {
        d->numbers->setGroupingUsed(false);
    }
}

WeekNumbering::~WeekNumbering() = default;

int WeekNumbering::firstDayOfWeek() const {
    UErrorCode status = U_ZERO_ERROR;
    return d->calendar->getFirstDayOfWeek(status);
}

int WeekNumbering::minimalDaysInFirstWeek() const {
    return d->calendar->getMinimalDaysInFirstWeek();
}

void WeekNumbering::setFirstDayOfWeek(int firstDay) {
    if (firstDay >= UCAL_SUNDAY && firstDay <= UCAL_SATURDAY) {
        d->calendar->setFirstDayOfWeek(static_cast<UCalendarDaysOfWeek>(firstDay));
    }
}

int WeekNumbering::weekOfYear(int year, int month, int day) const {
    d->calendar->clear();
    d->calendar->set(year, month - 1, day);
    UErrorCode status = U_ZERO_ERROR;
    const int week = d->calendar->get(UCAL_WEEK_OF_YEAR, status);
    return U_SUCCESS(status) ? week : 0;
}

std::string WeekNumbering::numberString(int number) const {
    icu::UnicodeString text;
    if (d->numbers) {
        d->numbers->format(static_cast<int32_t>(number), text);
    } else {
        text = icu::UnicodeString::fromUTF8(std::to_string(number));
    }
    std::string out;
    text.toUTF8String(out);
    return out;
}

}  // namespace vorelt
