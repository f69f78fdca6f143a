#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Date.h"

namespace vorelt {

// ICU's TimeZone, TimeZoneNames and Collator: the time zones of the world's places, as ICU
// knows them, named in the user's locale.
class WorldTimeZone {
public:
    struct Place {
        std::string identifier;  // "Asia/Tokyo"
        std::string name;        // "Tokyo, Japan", in the user's language
        std::string searchKey;   // the name and identifier without case or accents
    };

    // Whether ICU knows the zone `identifier` names.
    static bool isKnown(std::string_view identifier);
    // Every place with a zone of its own, in the user's alphabetical order.
    static const std::vector<Place>& places();
    // The places whose search key holds `text`, case and accents aside; all for an empty text.
    static std::vector<Place> placesMatching(std::string_view text);
    // The zone's exemplar city ("Tokyo", "東京"), or its identifier where it has none.
    static std::string cityName(std::string_view identifier);

    // Seconds the zone is ahead of UTC at `date`, daylight saving included.
    static int offsetFromUTC(std::string_view identifier, const Date& date);
    // The same for the system's zone in force.
    static int systemOffsetFromUTC(const Date& date);
};

}  // namespace vorelt
