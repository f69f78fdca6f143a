#include "platform/DatePicker.h"

#include <QCalendarWidget>
#include <QDateTime>

namespace vorelt {

DatePicker::DatePicker(QCalendarWidget* calendar) : Control(calendar) {}

Date DatePicker::dateValue() const {
    const auto* calendar = qobject_cast<const QCalendarWidget*>(widget());
    if (calendar == nullptr) {
        return value_;
    }
    const QDateTime set = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(value_.timeIntervalSince1970() * 1000.0));
    const QDateTime shown(calendar->selectedDate(), set.time());
    return Date(static_cast<double>(shown.toMSecsSinceEpoch()) / 1000.0);
}

void DatePicker::setDateValue(const Date& date) {
    value_ = date;
    if (auto* calendar = qobject_cast<QCalendarWidget*>(widget())) {
        const QDate day = QDateTime::fromMSecsSinceEpoch(
                              static_cast<qint64>(date.timeIntervalSince1970() * 1000.0))
                              .date();
        calendar->setSelectedDate(day);
        calendar->setCurrentPage(day.year(), day.month());
    }
}

}  // namespace vorelt
