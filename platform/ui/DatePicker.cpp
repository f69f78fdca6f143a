#include "platform/ui/DatePicker.h"

#include <QCalendarWidget>
#include <QDateTime>
#include <QLocale>
#include <QTextCharFormat>

#include "platform/foundation/DateFormatter.h"

namespace vorelt {

// The week as the locale of dates has it: its first day first, its own weekend days marked (the
// toolkit marks Saturday and Sunday everywhere).
DatePicker::DatePicker(QCalendarWidget* calendar) : Control(calendar) {
    const QLocale locale(QString::fromStdString(DateFormatter::userLocaleIdentifier()));
    calendar->setLocale(locale);
    calendar->setFirstDayOfWeek(locale.firstDayOfWeek());
    const QTextCharFormat weekend = calendar->weekdayTextFormat(Qt::Sunday);
    const QTextCharFormat workday = calendar->weekdayTextFormat(Qt::Wednesday);
    const QList<Qt::DayOfWeek> workdays = locale.weekdays();
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
        const auto dayOfWeek = static_cast<Qt::DayOfWeek>(day);
        calendar->setWeekdayTextFormat(dayOfWeek, workdays.contains(dayOfWeek) ? workday : weekend);
    }
}

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
