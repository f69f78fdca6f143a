#include "platform/StatusItemView.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/Event.h"
#include "platform/StatusBarButton.h"
#include "platform/StatusItem.h"

namespace vorelt {

namespace {
constexpr int kPadding = 10;
// An item with an empty title still needs something to click.
constexpr int kNarrowest = 24;
// No screen shows more; measuring and drawing a pattern's worth of text every second would not
// be light.
constexpr qsizetype kLongestShown = 400;
}  // namespace

StatusItemView::StatusItemView(StatusItem& item, QWidget* parent) : QWidget(parent), item_(item) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setCursor(Qt::ArrowCursor);
    refresh();
}

void StatusItemView::refresh() {
    const auto button = item_.button();
    QString title = button ? QString::fromStdString(button->title()) : QString();
    if (title.size() > kLongestShown) {
        title = title.left(kLongestShown - 1) + QChar(0x2026);
    }
    if (title != title_) {
        title_ = title;
        setAccessibleName(title_);
        update();
    }
    setVisible(button != nullptr);
    updateGeometry();
}

QSize StatusItemView::sizeHint() const {
    const int width = item_.length() >= 0.0
                          ? static_cast<int>(item_.length())
                          : fontMetrics().horizontalAdvance(title_) + 2 * kPadding;
    return QSize(std::max(width, kNarrowest), fontMetrics().height());
}

void StatusItemView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (hovered_) {
        QColor highlight = palette().color(QPalette::WindowText);
        highlight.setAlpha(40);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(highlight);
        painter.drawRoundedRect(rect().adjusted(1, 3, -1, -3), 4, 4);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, title_);
}

void StatusItemView::mousePressEvent(QMouseEvent* event) {
    // Screen coordinates in device pixels, as the global monitors report them.
    const QPointF at = event->globalPosition() * devicePixelRatioF();
    if (event->button() == Qt::LeftButton &&
        !Event::globalMouseDownJustHandledAt(Point{at.x(), at.y()})) {
        if (const auto button = item_.button()) {
            button->performClick();
        }
    }
}

void StatusItemView::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void StatusItemView::leaveEvent(QEvent*) {
    hovered_ = false;
    update();
}

}  // namespace vorelt
