#include "platform/statusbar/StatusItemView.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/statusbar/StatusBarButton.h"
#include "platform/statusbar/StatusItem.h"
#include "platform/ui/Event.h"
#include "platform/x11/X11Desktop.h"
#include "platform/x11/X11ImageWindow.h"

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

// The title cut after each run of blanks. Shaping may join letters within a word, not across a
// blank, so the words can be laid out one by one.
QStringList piecesOf(const QString& title) {
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 1; i <= title.size(); ++i) {
        if (i == title.size() || (title[i] != ' ' && title[i - 1] == ' ')) {
            pieces.push_back(title.mid(start, i - start));
            start = i;
        }
    }
    return pieces;
}

// Whether each character of `text` is drawn by a glyph of its own, whatever stands beside it.
bool glyphsApart(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.isDigit() || StatusItemCells::separates(c); });
}

// Glyphs may reach past their advance: the widest overhang of the font, and a pixel.
int overhangOf(const QFontMetrics& metrics) {
    return 1 + std::max({0, -metrics.minLeftBearing(), -metrics.minRightBearing()});
}

}  // namespace

StatusItemView::StatusItemView(StatusItem& item, QWidget* parent) : QWidget(parent), item_(item) {
    // It paints the bar's background under its title itself, so that a new title repaints the
    // item alone, not the bar beneath it as well.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    layOut(false);
    refresh();
}

StatusItemView::~StatusItemView() = default;

void StatusItemView::refresh() {
    const auto button = item_.button();
    QString title = button ? QString::fromStdString(button->title()) : QString();
    if (title.size() > kLongestShown) {
        title = title.left(kLongestShown - 1) + QChar(0x2026);
    }
    const bool newTitle = title != title_;
    bool drawn = false;
    QRect changed;
    if (newTitle) {
        // Most ticks change a digit or two: those go to the item's window without the toolkit.
        drawn = surface_ != nullptr && isVisible() &&
                cells_.change(title, [this](const QImage& image, const QPoint& at) {
                    surface_->draw(image, at);
                });
        if (drawn) {
            surface_->flush();
            title_ = title;
            cellsAhead_ = true;
        } else {
            // After cells, the words' layouts do not tell what is on screen: all is painted.
            changed = cellsAhead_ ? (takeTitle(title), rect()) : takeTitle(title);
            cellsAhead_ = false;
            // Until that paint, the cells' title is not the one on screen.
            cells_.clear();
        }
        if (QAccessible::isActive()) {
            tellScreenReaders();
        }
    }
    setVisible(button != nullptr);
    // A new title of the same width (most ticks) leaves the bar's layout as it is, and only the
    // words that changed are painted, at once rather than in another turn of the event loop.
    if (const int hint = widthHint(); hint != widthHint_) {
        widthHint_ = hint;
        updateGeometry();
        update();
    } else if (newTitle && !drawn && !(surface_ != nullptr && isVisible() && paintWhole())) {
        repaint(changed);
    }
}

void StatusItemView::tellScreenReaders() {
    setAccessibleName(title_);
}

QRect StatusItemView::takeTitle(const QString& title) {
    const qreal advanceBefore = advance_;
    title_ = title;
    const std::vector<Piece> before = layOut(true);
    // Everything else must stay where it was, or the whole title is painted again.
    if (before.empty() || pieces_.empty() || advance_ != advanceBefore) {
        return rect();
    }
    qreal from = advance_;
    qreal to = 0.0;
    const auto take = [&from, &to](qreal x, qreal advance) {
        from = std::min(from, x);
        to = std::max(to, x + advance);
    };
    for (size_t i = 0; i < std::max(before.size(), pieces_.size()); ++i) {
        const Piece* old = i < before.size() ? &before[i] : nullptr;
        const Piece* now = i < pieces_.size() ? &pieces_[i] : nullptr;
        if (old != nullptr && now != nullptr && old->x == now->x) {
            if (old->text == now->text) {
                continue;
            }
            // Digits and their separators each have a glyph of their own: only those that
            // changed are painted.
            if (old->layout && old->advance == now->advance && glyphsApart(old->text) &&
                glyphsApart(now->text)) {
                const QString& a = old->text;
                const QString& b = now->text;
                const qsizetype common = std::min(a.size(), b.size());
                int head = 0;
                while (head < common && a[head] == b[head]) {
                    ++head;
                }
                int tail = 0;
                while (tail < common - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
                    ++tail;
                }
                const QTextLine lineBefore = old->layout->lineAt(0);
                const QTextLine lineAfter = now->layout->lineAt(0);
                const qreal start = std::min(lineBefore.cursorToX(head), lineAfter.cursorToX(head));
                const qreal end = std::max(lineBefore.cursorToX(static_cast<int>(a.size()) - tail),
                                           lineAfter.cursorToX(static_cast<int>(b.size()) - tail));
                take(now->x + start, end - start);
                continue;
            }
        }
        if (old != nullptr) {
            take(old->x, old->advance);
        }
        if (now != nullptr) {
            take(now->x, now->advance);
        }
    }
    const int overhang = overhangOf(fontMetrics());
    const qreal offset = titleStart().x();
    const int left = static_cast<int>(std::floor(offset + from)) - overhang;
    const int right = static_cast<int>(std::ceil(offset + to)) + overhang;
    return QRect(left, 0, right - left, height()) & rect();
}

int StatusItemView::widthHint() const {
    const int width =
        item_.length() >= 0.0 ? static_cast<int>(item_.length()) : titleWidth_ + 2 * kPadding;
    return std::max(width, kNarrowest);
}

std::vector<StatusItemView::Piece> StatusItemView::layOut(bool keepPieces) {
    std::vector<Piece> before = std::move(pieces_);
    pieces_.clear();
    advance_ = ascent_ = descent_ = 0.0;
    if (!drawnAsItStands(title_)) {
        titleWidth_ = fontMetrics().horizontalAdvance(title_);
        return before;
    }
    const QStringList texts = whole_ ? QStringList{title_} : piecesOf(title_);
    // A word that starts with another letter may sit differently after its blank.
    bool check = !keepPieces || texts.size() != static_cast<qsizetype>(before.size());
    for (qsizetype i = 0; i < texts.size(); ++i) {
        Piece piece;
        piece.text = texts[i];
        const auto old = static_cast<size_t>(i);
        if (keepPieces && old < before.size() && before[old].text == piece.text) {
            piece.layout = std::move(before[old].layout);
        } else {
            piece.layout = StatusItemCells::lineOf(piece.text, font(), layoutDirection());
            check = check || (i > 0 && old < before.size() && !before[old].text.isEmpty() &&
                              before[old].text.front() != piece.text.front());
        }
        const QTextLine line = piece.layout->lineAt(0);
        piece.x = advance_;
        piece.advance = line.horizontalAdvance();
        advance_ += piece.advance;
        ascent_ = std::max(ascent_, line.ascent());
        descent_ = std::max(descent_, line.descent());
        pieces_.push_back(std::move(piece));
    }
    if (check && pieces_.size() > 1 && !piecesMatchWholeTitle()) {
        whole_ = true;
        layOut(false);
        return before;
    }
    titleWidth_ = qRound(advance_);
    return before;
}

bool StatusItemView::piecesMatchWholeTitle() const {
    const auto whole = StatusItemCells::lineOf(title_, font(), layoutDirection());
    const QTextLine line = whole->lineAt(0);
    if (line.horizontalAdvance() != advance_ || line.ascent() != ascent_ ||
        line.descent() != descent_) {
        return false;
    }
    int at = 0;
    for (const Piece& piece : pieces_) {
        if (line.cursorToX(at) != piece.x) {
            return false;
        }
        at += static_cast<int>(piece.text.size());
    }
    return true;
}

QSize StatusItemView::sizeHint() const {
    return QSize(widthHint_, fontMetrics().height());
}

void StatusItemView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::LayoutDirectionChange) {
        whole_ = false;
        layOut(false);
        widthHint_ = widthHint();
        updateGeometry();
    }
    QWidget::changeEvent(event);
}

void StatusItemView::paintEvent(QPaintEvent* event) {
    if (cellsAhead_) {
        layOut(true);
        cellsAhead_ = false;
    }
    if (!paintWhole()) {
        QPainter painter(this);
        paintTitle(painter, event->rect());
    }
}

bool StatusItemView::paintWhole() {
    X11ImageWindow* window = surface();
    if (window == nullptr) {
        return false;
    }
    // The whole item, in the device pixels of its window: a rare paint, and the cells' ground
    // truth. The toolkit's own painting is not needed: the item's window hides it.
    QImage image(window->size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(&image);
    painter.setFont(font());
    painter.setLayoutDirection(layoutDirection());
    paintTitle(painter, rect());
    painter.end();
    window->draw(image, QPoint(0, 0));
    window->flush();
    takeCells();
    return true;
}

void StatusItemView::paintBackground(QPainter& painter) const {
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (hovered_) {
        QColor highlight = palette().color(QPalette::WindowText);
        highlight.setAlpha(40);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(highlight);
        painter.drawRoundedRect(rect().adjusted(1, 3, -1, -3), 4, 4);
    }
}

void StatusItemView::paintTitle(QPainter& painter, const QRect& area) const {
    paintBackground(painter);
    painter.setPen(palette().color(QPalette::WindowText));
    if (pieces_.empty()) {
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, title_);
        return;
    }
    // Only the words that reach into the area to paint, each on the title's one baseline.
    const int overhang = overhangOf(fontMetrics());
    const QRect reach = area.adjusted(-overhang, 0, overhang, 0);
    const QPointF start = titleStart();
    for (const Piece& piece : pieces_) {
        const qreal x = start.x() + piece.x;
        if (x + piece.advance < reach.left() || x > reach.right() + 1) {
            continue;
        }
        piece.layout->draw(&painter, QPointF(x, start.y() - piece.layout->lineAt(0).ascent()));
    }
}

QPointF StatusItemView::titleStart() const {
    return QPointF((width() - advance_) / 2, (height() - ascent_ - descent_) / 2 + ascent_);
}

X11ImageWindow* StatusItemView::surface() {
    // At a fractional scale the item does not start on a whole device pixel: the toolkit paints.
    const qreal scale = devicePixelRatioF();
    if (!X11Desktop::available() || scale != std::floor(scale)) {
        surface_.reset();
    } else if (surface_ == nullptr || !surface_->stillOver(this)) {
        surface_ = X11ImageWindow::over(this);
    }
    return surface_.get();
}

void StatusItemView::takeCells() {
    if (pieces_.empty()) {
        cells_.clear();
        return;
    }
    const QPointF start = titleStart();
    std::vector<qreal> xs;
    xs.reserve(static_cast<size_t>(title_.size()) + 1);
    for (const Piece& piece : pieces_) {
        const QTextLine line = piece.layout->lineAt(0);
        for (int i = 0; i < piece.text.size(); ++i) {
            xs.push_back(start.x() + piece.x + line.cursorToX(i));
        }
    }
    xs.push_back(start.x() + advance_);
    const StatusItemCells::Look look{size(),
                                     devicePixelRatioF(),
                                     font(),
                                     palette().color(QPalette::WindowText),
                                     palette().color(QPalette::Window),
                                     hovered_,
                                     start.y()};
    cells_.take(
        look, [this](QPainter& painter) { paintBackground(painter); }, title_, std::move(xs));
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
