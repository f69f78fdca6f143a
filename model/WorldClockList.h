#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorelt {

// The other places whose time the popover shows: time zone identifiers ("Asia/Tokyo"), in the
// user's order. The store keeps them under "worldClocks", separated by blanks, so that a hand
// edit reads and writes them plainly.
class WorldClockList {
public:
    static constexpr std::string_view key = "worldClocks";

    // The identifiers of `text` that `isKnown` accepts, each once, in order: an unknown or
    // repeated one is skipped and the others kept. Blanks, commas and semicolons separate them.
    static std::vector<std::string> parse(std::string_view text,
                                          const std::function<bool(std::string_view)>& isKnown);
    static std::string serialize(const std::vector<std::string>& zones);

    // Editing, as the settings window does it; each gives false and leaves `zones` alone where it
    // would change nothing (a place already listed, a row out of range, a move past an end).
    static bool add(std::vector<std::string>& zones, std::string_view zone);
    static bool remove(std::vector<std::string>& zones, int row);
    static bool move(std::vector<std::string>& zones, int row, int by);

    // How many days the place's calendar is ahead of the local one at moment `now` (seconds since
    // 1970), given each one's offset from UTC in seconds: -1 yesterday, 0 today, 1 tomorrow.
    static int dayDifference(double now, int localOffset, int placeOffset);
};

}  // namespace vorelt
