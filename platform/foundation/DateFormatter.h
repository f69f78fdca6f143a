#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/Date.h"
#include "platform/foundation/Object.h"

namespace vorelt {

// ICU's SimpleDateFormat, with ICU's calendar and time zone.
// Turns moments into text with a Unicode date pattern (UTS #35), in the user's locale, calendar
// and time zone. Any pattern is accepted; formatting always gives a string.
class DateFormatter : public Object {
public:
    // Style values: none 0, short 1, medium 2, long 3, full 4.
    enum Style { NoStyle = 0, ShortStyle = 1, MediumStyle = 2, LongStyle = 3, FullStyle = 4 };

    DateFormatter();
    ~DateFormatter() override;

    // The user's locale for dates, from LC_ALL, LC_TIME or LANG ("ar_EG"); "en_US_POSIX" when
    // none is set or its names are unknown.
    static std::string userLocaleIdentifier();

    void setDateFormat(std::string_view pattern);
    const std::string& dateFormat() const;
    // Setting a style replaces the pattern with the locale's pattern for the two styles.
    void setDateStyle(int style);
    void setTimeStyle(int style);

    std::string stringFromDate(const Date& date) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
