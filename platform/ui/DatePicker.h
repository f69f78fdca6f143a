#pragma once

#include "platform/foundation/Date.h"
#include "platform/ui/Control.h"

class QCalendarWidget;

namespace vorelt {

// A QCalendarWidget of a loaded .ui view: a month calendar with one selected day.
class DatePicker : public Control {
public:
    explicit DatePicker(QCalendarWidget* calendar);

    // The selected day at the time of day last set, in the user's time zone.
    Date dateValue() const;
    void setDateValue(const Date& date);

    // Week numbers beside the rows, counted as the user's locale counts them.
    bool showsWeekNumbers() const;
    void setShowsWeekNumbers(bool shows);
    // The number shown beside `row` of the month shown (1 the first row of days), 0 for none.
    int weekNumberOfRow(int row) const;

private:
    Date value_;
};

}  // namespace vorelt
