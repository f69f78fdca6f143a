#include "model/WorldClockList.h"

#include <algorithm>
#include <cmath>

namespace vorelt {

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',' || c == ';';
}

}  // namespace

std::vector<std::string> WorldClockList::parse(
    std::string_view text, const std::function<bool(std::string_view)>& isKnown) {
    std::vector<std::string> zones;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isSeparator(text[at])) {
            ++at;
        }
        std::size_t end = at;
        while (end < text.size() && !isSeparator(text[end])) {
            ++end;
        }
        const std::string_view zone = text.substr(at, end - at);
        if (!zone.empty() && isKnown(zone)) {
            add(zones, zone);
        }
        at = end;
    }
    return zones;
}

std::string WorldClockList::serialize(const std::vector<std::string>& zones) {
    std::string text;
    for (const auto& zone : zones) {
        text += (text.empty() ? "" : " ") + zone;
    }
    return text;
}

bool WorldClockList::add(std::vector<std::string>& zones, std::string_view zone) {
    if (zone.empty() || std::find(zones.begin(), zones.end(), zone) != zones.end()) {
        return false;
    }
    zones.emplace_back(zone);
    return true;
}

bool WorldClockList::remove(std::vector<std::string>& zones, int row) {
    if (row < 0 || row >= static_cast<int>(zones.size())) {
        return false;
    }
    zones.erase(zones.begin() + row);
    return true;
}

bool WorldClockList::move(std::vector<std::string>& zones, int row, int by) {
    const int count = static_cast<int>(zones.size());
    const int to = row + by;
    if (row < 0 || row >= count || to < 0 || to >= count || by == 0) {
        return false;
    }
    const auto from = zones.begin() + row;
    if (by > 0) {
        std::rotate(from, from + 1, zones.begin() + to + 1);
    } else {
        std::rotate(zones.begin() + to, from, from + 1);
    }
    return true;
}

int WorldClockList::dayDifference(double now, int localOffset, int placeOffset) {
    constexpr double day = 86400.0;
    const double local = std::floor((now + localOffset) / day);
    const double place = std::floor((now + placeOffset) / day);
    return static_cast<int>(place - local);
}

}  // namespace vorelt
