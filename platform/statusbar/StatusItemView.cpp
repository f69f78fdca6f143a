#include "platform/statusbar/StatusItemView.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/ui/Event.h"

namespace vorelt {

namespace {
constexpr int kPadding = 10;
// An item with an empty title still needs something to click.
constexpr int kNarrowest = 24;
// No screen shows more; measuring and drawing a pattern's worth of text every second would not
// be light.
constexpr qsizetype kLongestShown = 400;

// Whether a kept one-line layout draws the title exactly as QPainter::drawText does. Control
// characters, line and paragraph separators and right-to-left text are treated specially there.
bool drawnAsItStands(const QString& title) {
    if (title.isRightToLeft()) {
        return false;
    }
    return std::none_of(title.begin(), title.end(), [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f) ||
               c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    });
}

// The words in which two titles differ: from `start` to `endBefore` in the one before, to
// `endAfter` in the one after. Whole words, since shaping may join letters within a word but not
// across a blank.
struct Change {
    qsizetype start = 0;
    qsizetype endBefore = 0;
    qsizetype endAfter = 0;
};

Change changedWords(const QString& before, const QString& after) {
    const qsizetype common = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < common && before[start] == after[start]) {
        ++start;
    }
    qsizetype tail = 0;
    while (tail < common - start &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    while (start > 0 && before[start - 1] != ' ') {
        --start;
    }
    while (tail > 0 && before[before.size() - tail] != ' ') {
        --tail;
    }
    return Change{start, before.size() - tail, after.size() - tail};
}
}  // namespace

StatusItemView::StatusItemView(StatusItem& item, QWidget* parent) : QWidget(parent), item_(item) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setCursor(Qt::ArrowCursor);
    layOut();
    refresh();
}

void StatusItemView::refresh() {
    const auto button = item_.button();
    QString title = button ? QString::fromStdString(button->title()) : QString();
    if (title.size() > kLongestShown) {
        title = title.left(kLongestShown - 1) + QChar(0x2026);
    }
    const bool newTitle = title != title_;
    QRect changed;
    if (newTitle) {
        changed = takeTitle(title);
        setAccessibleName(title_);
    }
    setVisible(button != nullptr);
    // A new title of the same width (most ticks) leaves the bar's layout as it is, and only the
    // words that changed are painted, at once rather than in another turn of the event loop.
    if (const int hint = widthHint(); hint != widthHint_) {
        widthHint_ = hint;
        updateGeometry();
        update();
    } else if (newTitle) {
        repaint(changed);
    }
}

QRect StatusItemView::takeTitle(const QString& title) {
    const Change change = changedWords(title_, title);
    const bool laidOut = layout_.lineCount() > 0;
    qreal from = 0.0;
    qreal to = 0.0;
    qreal advance = 0.0;
    if (laidOut) {
        const QTextLine before = layout_.lineAt(0);
        from = before.cursorToX(static_cast<int>(change.start));
        to = before.cursorToX(static_cast<int>(change.endBefore));
        advance = before.horizontalAdvance();
    }
    title_ = title;
    layOut();
    if (!laidOut || layout_.lineCount() == 0) {
        return rect();
    }
    // Everything else must stay where it was, or the whole title is painted again.
    const QTextLine after = layout_.lineAt(0);
    if (after.horizontalAdvance() != advance ||
        after.cursorToX(static_cast<int>(change.start)) != from ||
        after.cursorToX(static_cast<int>(change.endAfter)) != to) {
        return rect();
    }
    // Glyphs may reach past their advance: the widest overhang of the font, and a pixel.
    const QFontMetrics metrics = fontMetrics();
    const int overhang = 1 + std::max({0, -metrics.minLeftBearing(), -metrics.minRightBearing()});
    const qreal offset = (width() - advance) / 2;
    const int left = static_cast<int>(std::floor(offset + from)) - overhang;
    const int right = static_cast<int>(std::ceil(offset + to)) + overhang;
    return QRect(left, 0, right - left, height()) & rect();
}

int StatusItemView::widthHint() const {
    const int width =
        item_.length() >= 0.0 ? static_cast<int>(item_.length()) : titleWidth_ + 2 * kPadding;
    return std::max(width, kNarrowest);
}

void StatusItemView::layOut() {
    layout_.clearLayout();
    if (!drawnAsItStands(title_)) {
        titleWidth_ = fontMetrics().horizontalAdvance(title_);
        return;
    }
    // As QPainter::drawText lays out one centred line, so that the title looks the same.
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::ManualWrap);
    option.setTextDirection(layoutDirection());
    layout_.setText(title_);
    layout_.setFont(font());
    layout_.setTextOption(option);
    layout_.setCacheEnabled(true);
    layout_.beginLayout();
    QTextLine line = layout_.createLine();
    line.setLineWidth(0x01000000);
    layout_.endLayout();
    titleWidth_ = qRound(line.horizontalAdvance());
}

QSize StatusItemView::sizeHint() const {
    return QSize(widthHint_, fontMetrics().height());
}

void StatusItemView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::LayoutDirectionChange) {
        layOut();
        widthHint_ = widthHint();
        updateGeometry();
    }
    QWidget::changeEvent(event);
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
    if (layout_.lineCount() == 0) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, title_);
        return;
    }
    const QTextLine line = layout_.lineAt(0);
    layout_.draw(&painter, QPointF((width() - line.horizontalAdvance()) / 2,
                                   (height() - line.ascent() - line.descent()) / 2));
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
