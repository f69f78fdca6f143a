#include "platform/ui/WeekNumberDelegate.h"

#include <QCalendarWidget>
#include <QDate>

#include "platform/foundation/QtText.h"
#include "platform/foundation/WeekNumbering.h"

namespace vorelt {

WeekNumberDelegate::WeekNumberDelegate(QCalendarWidget* calendar)
    : QItemDelegate(calendar), calendar_(calendar), numbering_(std::make_unique<WeekNumbering>()) {}

WeekNumberDelegate::~WeekNumberDelegate() = default;

int WeekNumberDelegate::weekOfRow(int row) const {
    if (row < 1 || row > 6) {
        return 0;
    }
    // As the calendar lays out a page: the week of the first of the month first, or the week
    // before it when the month starts on the first day of a week.
    const QDate first(calendar_->yearShown(), calendar_->monthShown(), 1);
    const int firstDay = calendar_->firstDayOfWeek();
    int column = (7 + first.dayOfWeek() - firstDay) % 7;
    if (column == 0) {
        column = 7;
    }
    const QDate start = first.addDays(7 * (row - 1) - column);
    // ICU counts days from Sunday (1), Qt from Monday (1).
    numbering_->setFirstDayOfWeek(firstDay % 7 + 1);
    return numbering_->weekOfYear(start.year(), start.month(), start.day());
}

void WeekNumberDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    paintedRow_ = index.row();
    QItemDelegate::paint(painter, option, index);
}

void WeekNumberDelegate::drawDisplay(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QRect& rect, const QString& text) const {
    const int week = weekOfRow(paintedRow_);
    QItemDelegate::drawDisplay(painter, option, rect,
                               week > 0 ? qs(numbering_->numberString(week)) : text);
}

}  // namespace vorelt
