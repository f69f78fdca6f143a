#pragma once

#include <unicode/numfmt.h>

#include <array>
#include <memory>

namespace vorelt {

// An ICU NumberFormat for the date formatter's fields, writing the locale's digits itself.
// The numbers of a date's fields (day, hour, minute, year...) in the locale's own ten digits,
// zero-padded and truncated as ICU's decimal format does for dates. The decimal format runs every
// number through its general pipeline, which was most of the cost of a tick; this writes the
// digits directly, and hands anything unusual (a negative or fractional number) to it.
class DateDigitFormat : public icu::NumberFormat {
public:
    // Null where the locale does not count in ten plain digits (Roman or Han numerals, say).
    static std::unique_ptr<DateDigitFormat> create(const icu::Locale& locale,
                                                   const icu::NumberFormat& decimal);

    DateDigitFormat* clone() const override;
    bool operator==(const icu::Format& other) const override;

    using icu::NumberFormat::format;
    icu::UnicodeString& format(double number, icu::UnicodeString& appendTo,
                               icu::FieldPosition& position) const override;
    icu::UnicodeString& format(int32_t number, icu::UnicodeString& appendTo,
                               icu::FieldPosition& position) const override;
    icu::UnicodeString& format(int64_t number, icu::UnicodeString& appendTo,
                               icu::FieldPosition& position) const override;

    using icu::NumberFormat::parse;
    void parse(const icu::UnicodeString& text, icu::Formattable& result,
               icu::ParsePosition& position) const override;

    static UClassID getStaticClassID();
    UClassID getDynamicClassID() const override;

private:
    DateDigitFormat(const std::array<UChar32, 10>& digits,
                    std::shared_ptr<const icu::NumberFormat> decimal);
    // The decimal format with this format's digit counts, for what is not written directly.
    std::unique_ptr<icu::NumberFormat> configuredDecimal() const;

    std::array<UChar32, 10> digits_;
    std::shared_ptr<const icu::NumberFormat> decimal_;
};

}  // namespace vorelt
