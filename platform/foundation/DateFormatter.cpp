#include "platform/foundation/DateFormatter.h"

#include "platform/foundation/DateDigitFormat.h"
#include "platform/foundation/TimeZone.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vorelt {

namespace {

bool hasData(const icu::Locale& locale) {
    int32_t count = 0;
    const icu::Locale* available = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        if (std::strcmp(available[i].getLanguage(), locale.getLanguage()) == 0) {
            return true;
        }
    }
    return false;
}

icu::Locale userLocale() {
    return icu::Locale(DateFormatter::userLocaleIdentifier().c_str());
}

icu::DateFormat::EStyle icuStyle(int style) {
    switch (style) {
        case DateFormatter::ShortStyle:
            return icu::DateFormat::kShort;
        case DateFormatter::MediumStyle:
            return icu::DateFormat::kMedium;
        case DateFormatter::LongStyle:
            return icu::DateFormat::kLong;
        case DateFormatter::FullStyle:
            return icu::DateFormat::kFull;
        default:
            return icu::DateFormat::kNone;
    }
}

}  // namespace

struct DateFormatter::Impl {
    // Read first: it settles the system's zone, which the format below takes a copy of.
    std::uint64_t zoneChanges = TimeZone::systemTimeZoneChangeCount();
    icu::Locale locale = userLocale();
    std::unique_ptr<icu::SimpleDateFormat> format;
    // Set to each moment and handed to the format: formatting a bare moment would make ICU copy
    // and free its calendar, zone included, on every call.
    std::unique_ptr<icu::Calendar> calendar;
    icu::UnicodeString patternLetters;
    std::string pattern;
    int dateStyle = NoStyle;
    int timeStyle = NoStyle;

    Impl() {
        UErrorCode status = U_ZERO_ERROR;
        format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(), locale, status);
        if (U_FAILURE(status)) {
            status = U_ZERO_ERROR;
            format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(),
                                                             icu::Locale::getRoot(), status);
        }
        patternLetters = icu::DateFormatSymbols::getPatternUChars();
        calendar.reset(format->getCalendar()->clone());
        if (auto digits = DateDigitFormat::create(locale, *format->getNumberFormat())) {
            format->adoptNumberFormat(digits.release());
        }
    }

    // ICU stops filling in fields at the first letter it does not know, so such letters are
    // dropped here; everything else, quoting included, is left for ICU to interpret.
    icu::UnicodeString icuPattern(std::string_view text) const {
        icu::UnicodeString in = icu::UnicodeString::fromUTF8(
            icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
        icu::UnicodeString out;
        bool quoted = false;
        for (int32_t i = 0; i < in.length(); ++i) {
            const char16_t c = in.charAt(i);
            if (c == u'\'') {
                quoted = !quoted;
            }
            const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
            if (!quoted && letter && patternLetters.indexOf(c) < 0) {
                continue;
            }
            out.append(c);
        }
        return out;
    }

    void applyStyles() {
        std::unique_ptr<icu::DateFormat> styled(icu::DateFormat::createDateTimeInstance(
            icuStyle(dateStyle), icuStyle(timeStyle), locale));
        icu::UnicodeString text;
        if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(styled.get())) {
            simple->toPattern(text);
        }
        pattern.clear();
        text.toUTF8String(pattern);
        format->applyPattern(text);
    }
};

// As the C library would choose it for LC_TIME.
std::string DateFormatter::userLocaleIdentifier() {
    for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        std::string id(value);
        id = id.substr(0, id.find_first_of(".@"));
        // A locale ICU has no names for would show months as "M12": the plain default instead.
        if (id == "C" || id == "POSIX" || !hasData(icu::Locale(id.c_str()))) {
            return "en_US_POSIX";
        }
        return id;
    }
    return "en_US_POSIX";
}

DateFormatter::DateFormatter() : d(std::make_unique<Impl>()) {}

DateFormatter::~DateFormatter() = default;

void DateFormatter::setDateFormat(std::string_view pattern) {
    // ICU parses a pattern afresh on every apply; the clock sets the same one every second.
    if (pattern == d->pattern) {
        return;
    }
    d->pattern.assign(pattern);
    d->format->applyPattern(d->icuPattern(pattern));
}

const std::string& DateFormatter::dateFormat() const {
    return d->pattern;
}

void DateFormatter::setDateStyle(int style) {
    d->dateStyle = std::clamp(style, static_cast<int>(NoStyle), static_cast<int>(FullStyle));
    d->applyStyles();
}

void DateFormatter::setTimeStyle(int style) {
    d->timeStyle = std::clamp(style, static_cast<int>(NoStyle), static_cast<int>(FullStyle));
    d->applyStyles();
}

std::string DateFormatter::stringFromDate(const Date& date) const {
    // The calendar keeps the zone it was made with; a change of the system's zone is taken here.
    // (The format's own calendar is never used for formatting, so its zone does not matter.)
    if (const auto changes = TimeZone::systemTimeZoneChangeCount(); changes != d->zoneChanges) {
        d->zoneChanges = changes;
        d->calendar->adoptTimeZone(icu::TimeZone::createDefault());
    }
    icu::UnicodeString text;
    icu::FieldPosition position;
    UErrorCode status = U_ZERO_ERROR;
    d->calendar->setTime(date.timeIntervalSince1970() * 1000.0, status);
    if (U_SUCCESS(status)) {
        d->format->format(*d->calendar, text, position);
    }
    std::string result;
    text.toUTF8String(result);
    return result;
}

}  // namespace vorelt
