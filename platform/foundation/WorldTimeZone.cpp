#include "platform/foundation/WorldTimeZone.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/strenum.h>
#include <unicode/timezone.h>
#include <unicode/tznames.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <map>
#include <memory>

#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/TimeZone.h"

namespace vorelt {

namespace {

icu::UnicodeString unicode(std::string_view text) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string utf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

// Case folded, accents dropped: "São Paulo" and "sao paulo" meet.
std::string searchForm(const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    icu::UnicodeString folded(text);
    folded.foldCase();
    if (U_FAILURE(status)) {
        return utf8(folded);
    }
    const icu::UnicodeString decomposed = nfd->normalize(folded, status);
    icu::UnicodeString out;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK) {
            out.append(c == u'_' ? UChar32(u' ') : c);
        }
        i += U16_LENGTH(c);
    }
    return utf8(out);
}

icu::Locale userLocale() {
    return icu::Locale(DateFormatter::userLocaleIdentifier().c_str());
}

std::vector<WorldTimeZone::Place> loadPlaces() {
    const icu::Locale locale = userLocale();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::TimeZoneNames> names(icu::TimeZoneNames::createInstance(locale, status));
    std::unique_ptr<icu::StringEnumeration> ids(icu::TimeZone::createTimeZoneIDEnumeration(
        UCAL_ZONE_TYPE_CANONICAL_LOCATION, nullptr, nullptr, status));
    std::vector<WorldTimeZone::Place> places;
    if (U_FAILURE(status) || !ids) {
        return places;
    }
    while (const icu::UnicodeString* id = ids->snext(status)) {
        if (U_FAILURE(status)) {
            break;
        }
        icu::UnicodeString city;
        names->getExemplarLocationName(*id, city);
        if (city.isEmpty()) {
            continue;
        }
        icu::UnicodeString name(city);
        char region[8] = {};
        UErrorCode regionStatus = U_ZERO_ERROR;
        icu::TimeZone::getRegion(*id, region, sizeof region, regionStatus);
        icu::UnicodeString country;
        if (U_SUCCESS(regionStatus) && region[0] != '\0' && std::string_view(region) != "001") {
            icu::Locale("", region).getDisplayCountry(locale, country);
            name += u", " + country;
        }
        places.push_back({utf8(*id), utf8(name), searchForm(name + u" " + *id)});
    }
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (collator) {
        std::stable_sort(places.begin(), places.end(), [&](const auto& a, const auto& b) {
            UErrorCode compareStatus = U_ZERO_ERROR;
            return collator->compareUTF8(a.name, b.name, compareStatus) == UCOL_LESS;
        });
    }
    return places;
}

std::unique_ptr<icu::TimeZone> zoneFor(std::string_view identifier) {
    return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createTimeZone(unicode(identifier)));
}

int offsetOf(const icu::TimeZone& zone, const Date& date) {
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone.getOffset(date.timeIntervalSince1970() * 1000.0, false, raw, dst, status);
    return U_SUCCESS(status) ? (raw + dst) / 1000 : 0;
}

}  // namespace

bool WorldTimeZone::isKnown(std::string_view identifier) {
    if (identifier.empty() || identifier == "Etc/Unknown") {
        return false;
    }
    const auto zone = zoneFor(identifier);
    return zone && *zone != icu::TimeZone::getUnknown();
}

const std::vector<WorldTimeZone::Place>& WorldTimeZone::places() {
    static const std::vector<Place> all = loadPlaces();
    return all;
}

std::vector<WorldTimeZone::Place> WorldTimeZone::placesMatching(std::string_view text) {
    const std::string key = searchForm(unicode(text));
    std::vector<Place> found;
    for (const auto& place : places()) {
        if (place.searchKey.find(key) != std::string::npos) {
            found.push_back(place);
        }
    }
    return found;
}

std::string WorldTimeZone::cityName(std::string_view identifier) {
    // Asked at every tick of an open popover: each name is looked up once.
    static std::map<std::string, std::string, std::less<>> names;
    if (const auto known = names.find(identifier); known != names.end()) {
        return known->second;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::TimeZoneNames> zoneNames(
        icu::TimeZoneNames::createInstance(userLocale(), status));
    icu::UnicodeString city;
    if (zoneNames) {
        icu::UnicodeString canonical;
        icu::TimeZone::getCanonicalID(unicode(identifier), canonical, status);
        zoneNames->getExemplarLocationName(U_SUCCESS(status) ? canonical : unicode(identifier),
                                           city);
    }
    const std::string name = city.isEmpty() ? std::string(identifier) : utf8(city);
    names.emplace(identifier, name);
    return name;
}

int WorldTimeZone::offsetFromUTC(std::string_view identifier, const Date& date) {
    const auto zone = zoneFor(identifier);
    return zone ? offsetOf(*zone, date) : 0;
}

int WorldTimeZone::systemOffsetFromUTC(const Date& date) {
    // Settles the system's zone first, as the formatters do.
    TimeZone::systemTimeZoneChangeCount();
    const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
    return offsetOf(*zone, date);
}

}  // namespace vorelt
