#include "platform/foundation/DateDigitFormat.h"

#include <unicode/numsys.h>

#include <algorithm>
#include <limits>

namespace vorelt {

std::unique_ptr<DateDigitFormat> DateDigitFormat::create(const icu::Locale& locale,
                                                         const icu::NumberFormat& decimal) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberingSystem> numbering(
        icu::NumberingSystem::createInstance(locale, status));
    if (U_FAILURE(status) || numbering == nullptr || numbering->isAlgorithmic() ||
        numbering->getRadix() != 10) {
        return nullptr;
    }
    const icu::UnicodeString description = numbering->getDescription();
    if (description.countChar32() != 10) {
        return nullptr;
    }
    std::array<UChar32, 10> digits{};
    for (int32_t i = 0, at = 0; i < 10; ++i, at = description.moveIndex32(at, 1)) {
        digits[static_cast<std::size_t>(i)] = description.char32At(at);
    }
    std::shared_ptr<const icu::NumberFormat> shared(decimal.clone());
    if (shared == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<DateDigitFormat>(new DateDigitFormat(digits, std::move(shared)));
}

DateDigitFormat::DateDigitFormat(const std::array<UChar32, 10>& digits,
                                 std::shared_ptr<const icu::NumberFormat> decimal)
    : digits_(digits), decimal_(std::move(decimal)) {}

DateDigitFormat* DateDigitFormat::clone() const {
    return new DateDigitFormat(*this);
}

bool DateDigitFormat::operator==(const icu::Format& other) const {
    const auto* digits = dynamic_cast<const DateDigitFormat*>(&other);
    return digits != nullptr && icu::NumberFormat::operator==(other) && digits_ == digits->digits_;
}

std::unique_ptr<icu::NumberFormat> DateDigitFormat::configuredDecimal() const {
    std::unique_ptr<icu::NumberFormat> decimal(decimal_->clone());
    decimal->setGroupingUsed(isGroupingUsed());
    decimal->setMinimumIntegerDigits(getMinimumIntegerDigits());
    decimal->setMaximumIntegerDigits(getMaximumIntegerDigits());
    decimal->setMaximumFractionDigits(getMaximumFractionDigits());
    return decimal;
}

icu::UnicodeString& DateDigitFormat::format(double number, icu::UnicodeString& appendTo,
                                            icu::FieldPosition& position) const {
    return configuredDecimal()->format(number, appendTo, position);
}

icu::UnicodeString& DateDigitFormat::format(int64_t number, icu::UnicodeString& appendTo,
                                            icu::FieldPosition& position) const {
    if (number >= 0 && number <= std::numeric_limits<int32_t>::max()) {
        return format(static_cast<int32_t>(number), appendTo, position);
    }
    return configuredDecimal()->format(number, appendTo, position);
}

icu::UnicodeString& DateDigitFormat::format(int32_t number, icu::UnicodeString& appendTo,
                                            icu::FieldPosition& position) const {
    if (number < 0) {
        // A minus sign is the locale's business, and dates rarely need one.
        return configuredDecimal()->format(number, appendTo, position);
    }
    const int32_t most = getMaximumIntegerDigits();
    const int32_t least = std::clamp(getMinimumIntegerDigits(), 0, 10);
    // Like the decimal format, keep the low digits when there are more than allowed ("yy").
    std::array<int, 10> values{};
    int32_t count = 0;
    for (auto rest = static_cast<uint32_t>(number); rest != 0 && count < most; rest /= 10) {
        values[static_cast<std::size_t>(count++)] = static_cast<int>(rest % 10);
    }
    count = std::max(count, std::min(least, most));
    // Written in one go: appending digit by digit costs more than the rest of the number.
    std::array<char16_t, 20> text{};
    int32_t length = 0;
    while (count > 0) {
        const UChar32 digit =
            digits_[static_cast<std::size_t>(values[static_cast<std::size_t>(--count)])];
        if (U_IS_BMP(digit)) {
            text[static_cast<std::size_t>(length++)] = static_cast<char16_t>(digit);
        } else {
            text[static_cast<std::size_t>(length++)] = U16_LEAD(digit);
            text[static_cast<std::size_t>(length++)] = U16_TRAIL(digit);
        }
    }
    appendTo.append(text.data(), 0, length);
    return appendTo;
}

void DateDigitFormat::parse(const icu::UnicodeString& text, icu::Formattable& result,
                            icu::ParsePosition& position) const {
    decimal_->parse(text, result, position);
}

UClassID DateDigitFormat::getStaticClassID() {
    static char classID = 0;
    return &classID;
}

UClassID DateDigitFormat::getDynamicClassID() const {
    return getStaticClassID();
}

}  // namespace vorelt
