#include "platform/ui/DatePicker.h"

#include <QCalendarWidget>
#include <QDateTime>
#include <QIcon>
#include <QTableView>
#include <QToolButton>

#include <QLocale>
#include <QTextCharFormat>
#include <utility>

#include "platform/foundation/DateFormatter.h"
#include "platform/ui/WeekNumberDelegate.h"

namespace vorelt {

namespace {

// The icon theme's arrows in place of the toolkit's own, where the theme has them.
void useThemeArrows(QCalendarWidget* calendar) {
    const bool rtl = calendar->isRightToLeft();
    const std::pair<const char*, const char*> buttons[] = {
        {"qt_calendar_prevmonth", rtl ? "go-next" : "go-previous"},
        {"qt_calendar_nextmonth", rtl ? "go-previous" : "go-next"},
    };
    for (const auto& [name, icon] : buttons) {
        auto* button = calendar->findChild<QToolButton*>(name);
        if (button != nullptr && QIcon::hasThemeIcon(icon)) {
            button->setIcon(QIcon::fromTheme(icon));
        }
    }
}

WeekNumberDelegate* weekNumbers(const QCalendarWidget* calendar) {
    // By name: the calendar's own delegate is an item delegate too.
    return calendar == nullptr ? nullptr
                               : dynamic_cast<WeekNumberDelegate*>(calendar->findChild<QObject*>(
                                     "weekNumbers", Qt::FindDirectChildrenOnly));
}

}  // namespace

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
    useThemeArrows(calendar);
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
        // The style or the direction may have changed since: the calendar then takes its own
        // arrows again.
        useThemeArrows(calendar);
    }
}

bool DatePicker::showsWeekNumbers() const {
    const auto* calendar = qobject_cast<const QCalendarWidget*>(widget());
    return calendar != nullptr &&
           calendar->verticalHeaderFormat() != QCalendarWidget::NoVerticalHeader;
}

void DatePicker::setShowsWeekNumbers(bool shows) {
    auto* calendar = qobject_cast<QCalendarWidget*>(widget());
    if (calendar == nullptr) {
        return;
    }
    auto* view = calendar->findChild<QTableView*>("qt_calendar_calendarview");
    if (shows && view != nullptr && weekNumbers(calendar) == nullptr) {
        auto* delegate = new WeekNumberDelegate(calendar);
        delegate->setObjectName("weekNumbers");
        view->setItemDelegateForColumn(0, delegate);
    }
    const auto format = shows ? QCalendarWidget::ISOWeekNumbers : QCalendarWidget::NoVerticalHeader;
    if (calendar->verticalHeaderFormat() != format) {
        calendar->setVerticalHeaderFormat(format);
    }
}

int DatePicker::weekNumberOfRow(int row) const {
    const auto* calendar = qobject_cast<const QCalendarWidget*>(widget());
    const auto* delegate = weekNumbers(calendar);
    return delegate != nullptr && showsWeekNumbers() ? delegate->weekOfRow(row) : 0;
}

}  // namespace vorelt
