#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace vorelt {

// The nine display options of the clock. Each case's raw value is its preference key, and the
// declaration order is the order of every loop over the options.
class DateFormatSettingsFields {
public:
    enum Case : std::uint8_t {
        shouldShowDayOfWeek,
        shouldShowDate,
        shouldShowYear,
        shouldShowSeconds,
        shouldShowTimezone,
        shouldFlashSeparator,
        shouldUseAMPM,
        shouldUse24Hour,
        shouldUseCustomFormat,
    };
    static constexpr std::size_t count = 9;

    constexpr DateFormatSettingsFields(Case value) : case_(value) {}  // NOLINT: implicit on purpose

    constexpr Case value() const { return case_; }
    constexpr int ordinal() const { return static_cast<int>(case_); }
    std::string_view rawValue() const;

    static const std::array<DateFormatSettingsFields, count>& allCases();

    constexpr bool operator==(const DateFormatSettingsFields&) const = default;

private:
    Case case_;
};

}  // namespace vorelt

template <>
struct std::hash<vorelt::DateFormatSettingsFields> {
    std::size_t operator()(const vorelt::DateFormatSettingsFields& field) const noexcept {
        return std::hash<int>{}(field.ordinal());
    }
};
