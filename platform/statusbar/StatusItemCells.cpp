#include "platform/statusbar/StatusItemCells.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace vorelt {

namespace {
const QString kSeparators = QStringLiteral(":., ");
// The characters that may be drawn alone: each has a glyph of its own whatever stands beside it.
const QString kApart = QStringLiteral("0123456789") + kSeparators;
// No more kept images than a minute of ticking needs, so that memory stays small.
constexpr size_t kMostCells = 48;

// A place in device pixels, in 64ths as the text engine keeps it.
int sixtyFourths(qreal x, qreal scale) {
    return static_cast<int>(std::lround(x * 64.0)) * static_cast<int>(scale);
}
}  // namespace

bool StatusItemCells::separates(QChar character) {
    return kSeparators.contains(character);
}

std::unique_ptr<QTextLayout> StatusItemCells::lineOf(const QString& text, const QFont& font,
                                                     Qt::LayoutDirection direction) {
    auto layout = std::make_unique<QTextLayout>(text, font);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::ManualWrap);
    option.setTextDirection(direction);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    line.setLineWidth(0x01000000);
    layout->endLayout();
    return layout;
}

void StatusItemCells::take(const Look& look, Background background, const QString& title,
                           std::vector<qreal> xs) {
    if (!(look == look_)) {
        cells_.clear();
        empty_ = QImage();
        even_ = -1;
    }
    if (xs.empty() || xs_.empty() || xs.front() != xs_.front() || xs.back() != xs_.back()) {
        even_ = -1;
    }
    look_ = look;
    background_ = std::move(background);
    title_ = title;
    xs_ = std::move(xs);
    // The text engine's places are whole device pixels apart only at whole scales.
    // Right-to-left letters reorder what stands beside them: the places then go back and forth.
    valid_ = xs_.size() == static_cast<size_t>(title.size()) + 1 && look.scale >= 1.0 &&
             look.scale == std::floor(look.scale) && std::is_sorted(xs_.begin(), xs_.end());
}

void StatusItemCells::clear() {
    valid_ = false;
}

bool StatusItemCells::change(const QString& title, const Draw& draw) {
    if (!valid_ || title.size() != title_.size() || !fontKeepsPlaces()) {
        return false;
    }
    std::vector<qsizetype> changed;
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == title_[i]) {
            continue;
        }
        const qreal advance = advanceOf(title[i]);
        if (advance < 0.0 || advance != advanceOf(title_[i])) {
            return false;
        }
        // Neither the old glyph nor the new one, nor those beside them, reach another's columns.
        // (Each cell is used before the next is looked up: a lookup may move the others.)
        const auto apart = [this](qsizetype at, QChar c) {
            const Cell* cell = advanceOf(c) < 0.0 ? nullptr : cellAt(at, c);
            return cell != nullptr && cell->apart;
        };
        if (!apart(i, title_[i]) || !apart(i, title[i]) || (i > 0 && !apart(i - 1, title[i - 1])) ||
            (i + 1 < title.size() && !apart(i + 1, title[i + 1]))) {
            return false;
        }
        changed.push_back(i);
    }
    for (const qsizetype i : changed) {
        draw(cellAt(i, title[i])->image,
             QPoint(sixtyFourths(xs_[static_cast<size_t>(i)], look_.scale) >> 6, 0));
    }
    title_ = title;
    return true;
}

bool StatusItemCells::fontKeepsPlaces() {
    if (fontChecked_ && checkedFont_ == look_.font) {
        return keepsPlaces_;
    }
    fontChecked_ = true;
    checkedFont_ = look_.font;
    advances_.clear();
    // Every pair of the characters, one after the other: each must move the next one on by its
    // own advance, whatever follows it.
    QString pairs;
    for (const QChar a : kApart) {
        for (const QChar b : kApart) {
            pairs += a;
            pairs += b;
        }
    }
    const auto layout = lineOf(pairs, look_.font, Qt::LeftToRight);
    const QTextLine line = layout->lineAt(0);
    keepsPlaces_ = true;
    for (int i = 0; i < pairs.size() && keepsPlaces_; ++i) {
        const qreal advance = line.cursorToX(i + 1) - line.cursorToX(i);
        const qreal before = advanceOf(pairs[i]);
        if (before < 0.0) {
            advances_.emplace_back(pairs[i], advance);
        } else {
            keepsPlaces_ = before == advance;
        }
    }
    return keepsPlaces_;
}

qreal StatusItemCells::advanceOf(QChar character) const {
    const auto it =
        std::find_if(advances_.begin(), advances_.end(),
                     [character](const auto& entry) { return entry.first == character; });
    return it == advances_.end() ? -1.0 : it->second;
}

const StatusItemCells::Cell* StatusItemCells::cellAt(qsizetype index, QChar character) {
    const int from = sixtyFourths(xs_[static_cast<size_t>(index)], look_.scale);
    const int to = sixtyFourths(xs_[static_cast<size_t>(index) + 1], look_.scale);
    const int column = from >> 6;
    const int width = (to >> 6) - column;
    const QSize pixels = (QSizeF(look_.size) * look_.scale).toSize();
    if (column < 0 || width <= 0 || column + width > pixels.width()) {
        return nullptr;
    }
    const bool even = backgroundEven();
    for (const Cell& cell : cells_) {
        if (cell.character == character && cell.phase == (from & 63) &&
            cell.image.width() == width && (even || cell.column == column)) {
            return &cell;
        }
    }
    const QImage drawn = render(index, character);
    // The glyph's ink: every pixel outside its columns that differs from the background alone.
    Cell cell{character, from & 63, column, true, drawn.copy(column, 0, width, drawn.height())};
    for (int y = 0; y < drawn.height() && cell.apart; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        const auto* bare = reinterpret_cast<const QRgb*>(empty_.constScanLine(y));
        cell.apart = std::equal(row, row + column, bare) &&
                     std::equal(row + column + width, row + drawn.width(), bare + column + width);
    }
    if (cells_.size() >= kMostCells) {
        cells_.erase(cells_.begin());
    }
    cells_.push_back(std::move(cell));
    return &cells_.back();
}

QImage StatusItemCells::render(qsizetype index, QChar character) const {
    QImage image((QSizeF(look_.size) * look_.scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(look_.scale);
    QPainter painter(&image);
    background_(painter);
    if (index >= 0) {
        const auto layout = lineOf(QString(character), look_.font, Qt::LeftToRight);
        painter.setPen(look_.ink);
        layout->draw(&painter, QPointF(xs_[static_cast<size_t>(index)],
                                       look_.baseline - layout->lineAt(0).ascent()));
    }
    return image;
}

bool StatusItemCells::backgroundEven() {
    if (empty_.isNull()) {
        empty_ = render(-1, QChar());
    }
    if (even_ < 0) {
        const int from = std::max(0, sixtyFourths(xs_.front(), look_.scale) >> 6);
        const int to = std::min(static_cast<int>(empty_.width()),
                                (sixtyFourths(xs_.back(), look_.scale) >> 6) + 1);
        even_ = 1;
        for (int y = 0; y < empty_.height() && even_ == 1; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(empty_.constScanLine(y));
            even_ =
                std::all_of(row + from, row + to, [row, from](QRgb p) { return p == row[from]; });
        }
    }
    return even_ == 1;
}

}  // namespace vorelt
