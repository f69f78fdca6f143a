#include "platform/foundation/DateFormatter.h"

#include "platform/foundation/DateDigitFormat.h"
#include "platform/foundation/TimeZone.h"

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/fpositer.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

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

constexpr double kMillisPerDay = 86400000.0;
// Beyond some thousands of years the calendar's arithmetic is its own business.
constexpr double kLongestKept = 1.0e14;
// Letters whose text stays the same all through one minute of the wall clock, where the zone's
// offsets stay the same: everything but the second's fraction, the milliseconds of the day and
// the day periods, which say "noon" at 12:00:00 only.
const char16_t kSteadyLetters[] = u"GyYuUrQqMLlwWdDFgEecahHkKmvVzZOXx";

// What ICU's calendar makes of a moment in a zone, as its own arithmetic does: the minute of the
// wall clock (a count from 1970) and the second within it.
struct WallMinute {
    std::int64_t minute = 0;
    int second = 0;
};

WallMinute wallMinuteOf(double millis, std::int32_t raw, std::int32_t dst) {
    const double local = millis + (raw + dst);
    const auto days = static_cast<std::int32_t>(std::floor(local / kMillisPerDay));
    const auto inDay = static_cast<std::int32_t>(local - days * kMillisPerDay);
    return {static_cast<std::int64_t>(days) * 1440 + inDay / 60000, inDay / 1000 % 60};
}

}  // namespace

// The text of the last minute formatted, cut where its seconds go: ICU formats once a minute,
// and a tick in between only writes the second's digits between the pieces.
struct KeptMinute {
    bool valid = false;
    std::int64_t minute = 0;
    std::int32_t raw = 0;
    std::int32_t dst = 0;
    // One more piece than seconds fields.
    std::vector<std::string> pieces;
    std::vector<std::unique_ptr<icu::NumberFormat>> seconds;
};

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
    // Whether the applied pattern's text may be kept for its minute; and the minute kept.
    bool keepsMinutes = false;
    // How many letters each seconds field of the pattern has, in order.
    std::vector<int32_t> secondsLetters;
    KeptMinute kept;

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
        patternApplied();
    }

    // A pattern may be kept for a minute when ICU writes its numbers with the digits format
    // (whose seconds are written here the same way) and none of its letters changes within one.
    void patternApplied() {
        kept = KeptMinute();
        icu::UnicodeString applied;
        format->toPattern(applied);
        keepsMinutes = dynamic_cast<const DateDigitFormat*>(format->getNumberFormat()) != nullptr;
        secondsLetters.clear();
        bool quoted = false;
        for (int32_t i = 0; i < applied.length() && keepsMinutes; ++i) {
            const char16_t c = applied.charAt(i);
            if (c == u'\'') {
                quoted = !quoted;
            } else if (quoted || !((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) {
                continue;
            } else if (c == u's') {
                if (i == 0 || applied.charAt(i - 1) != u's') {
                    secondsLetters.push_back(0);
                }
                ++secondsLetters.back();
            } else {
                keepsMinutes = std::char_traits<char16_t>::find(
                                   kSteadyLetters, std::size(kSteadyLetters) - 1, c) != nullptr;
            }
        }
    }

    // ICU's text of a moment, with the places of its fields where asked; false where ICU failed.
    bool formatWithIcu(double millis, icu::UnicodeString& text,
                       icu::FieldPositionIterator* fields) {
        UErrorCode status = U_ZERO_ERROR;
        calendar->setTime(millis, status);
        if (U_SUCCESS(status)) {
            format->format(*calendar, text, fields, status);
        }
        return U_SUCCESS(status);
    }

    // Formats with ICU and keeps the text for the rest of its minute, or gives up keeping when
    // the seconds fields cannot be told apart.
    std::string formatAndKeep(double millis, const WallMinute& wall, std::int32_t raw,
                              std::int32_t dst) {
        icu::UnicodeString text;
        icu::FieldPositionIterator fields;
        const bool formatted = formatWithIcu(millis, text, &fields);
        kept = KeptMinute();
        std::string result;
        text.toUTF8String(result);
        if (!formatted) {
            return result;
        }
        int32_t from = 0;
        icu::FieldPosition field;
        while (fields.next(field)) {
            if (field.getField() != UDAT_SECOND_FIELD) {
                continue;
            }
            if (kept.seconds.size() == secondsLetters.size()) {
                return result;
            }
            auto& piece = kept.pieces.emplace_back();
            text.tempSubStringBetween(from, field.getBeginIndex()).toUTF8String(piece);
            // ICU's own way for a seconds field: a copy of the number format, as many digits
            // at least as the field has letters, and at most ten.
            std::unique_ptr<icu::NumberFormat> digits(format->getNumberFormat()->clone());
            digits->setMinimumIntegerDigits(secondsLetters[kept.seconds.size()]);
            digits->setMaximumIntegerDigits(10);
            icu::UnicodeString written;
            icu::FieldPosition ignored(icu::FieldPosition::DONT_CARE);
            digits->format(wall.second, written, ignored);
            if (written != text.tempSubStringBetween(field.getBeginIndex(), field.getEndIndex())) {
                return result;
            }
            kept.seconds.push_back(std::move(digits));
            from = field.getEndIndex();
        }
        text.tempSubString(from).toUTF8String(kept.pieces.emplace_back());
        kept.valid = kept.seconds.size() == secondsLetters.size();
        kept.minute = wall.minute;
        kept.raw = raw;
        kept.dst = dst;
        return result;
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
    d->patternApplied();
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
        d->kept = KeptMinute();
    }
    const double millis = date.timeIntervalSince1970() * 1000.0;
    std::int32_t raw = 0;
    std::int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    const bool keeps = d->keepsMinutes && std::fabs(millis) < kLongestKept;
    if (keeps) {
        d->calendar->getTimeZone().getOffset(millis, false, raw, dst, status);
    }
    if (!keeps || U_FAILURE(status)) {
        icu::UnicodeString text;
        d->formatWithIcu(millis, text, nullptr);
        std::string result;
        text.toUTF8String(result);
        return result;
    }
    const WallMinute wall = wallMinuteOf(millis, raw, dst);
    const KeptMinute& kept = d->kept;
    if (!kept.valid || kept.minute != wall.minute || kept.raw != raw || kept.dst != dst) {
        return d->formatAndKeep(millis, wall, raw, dst);
    }
    std::string result = kept.pieces.front();
    for (std::size_t i = 0; i < kept.seconds.size(); ++i) {
        icu::UnicodeString written;
        icu::FieldPosition ignored(icu::FieldPosition::DONT_CARE);
        kept.seconds[i]->format(wall.second, written, ignored);
        written.toUTF8String(result);
        result += kept.pieces[i + 1];
    }
    return result;
}

}  // namespace vorelt
