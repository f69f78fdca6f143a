#pragma once

#include <QItemDelegate>

#include <memory>

class QCalendarWidget;

namespace vorelt {

class WeekNumbering;

// A QItemDelegate for a QCalendarWidget's week column: paints the week numbers beside a month
// calendar's rows as the user's locale counts them, in its digits: the toolkit's own column counts
// by ISO 8601 only.
class WeekNumberDelegate : public QItemDelegate {
public:
    explicit WeekNumberDelegate(QCalendarWidget* calendar);
    ~WeekNumberDelegate() override;

    // The number beside `row` of the page shown (1 the first row of days), 0 for none.
    int weekOfRow(int row) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void drawDisplay(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect,
                     const QString& text) const override;

private:
    QCalendarWidget* calendar_;
    std::unique_ptr<WeekNumbering> numbering_;
    mutable int paintedRow_ = 0;
};

}  // namespace vorelt
