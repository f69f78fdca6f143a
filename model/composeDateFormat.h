#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "model/DateFormatSettingsFields.h"

namespace vorelt {

// The pattern for a set of display options (the cases that are on) and the custom text, which is
// returned untouched when the custom option is on.
std::string composeDateFormat(const std::unordered_set<DateFormatSettingsFields>& on,
                              std::string_view customText);

}  // namespace vorelt
