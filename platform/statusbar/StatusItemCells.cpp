#include "platform/statusbar/StatusItemCells.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>

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
    places_.clear();
    for (const qreal x : xs_) {
        places_.push_back(sixtyFourths(x, look.scale));
    }
    inks_.assign(xs_.size(), {});
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
    const qsizetype count = title.size();
    // The characters drawn anew: those that changed, and those whose ink meets theirs.
    std::vector<bool> anew(static_cast<size_t>(count), false);
    for (qsizetype i = 0; i < count; ++i) {
        if (title[i] != title_[i]) {
            const qreal advance = advanceOf(title[i]);
            if (advance < 0.0 || advance != advanceOf(title_[i])) {
                return false;
            }
            anew[static_cast<size_t>(i)] = true;
        }
    }
    // A run of characters drawn together must hold all the ink within its columns, of the old
    // glyphs and the new, and no glyph outside it may reach in. Glyphs further than two
    // characters away reach no run.
    const auto grow = [&](qsizetype first, qsizetype last) -> std::optional<bool> {
        const int from = columnAt(first);
        const int to = columnAt(last + 1);
        bool grown = false;
        for (qsizetype k = std::max<qsizetype>(0, first - 2); k <= std::min(count - 1, last + 2);
             ++k) {
            // The new character and the old one, where it differs.
            for (int which = title[k] == title_[k] ? 1 : 2; which > 0; --which) {
                const auto ink = inkAt(k, which == 1 ? title[k] : title_[k]);
                if (!ink) {
                    // Only digits and separators are known to be drawn alone.
                    if (k >= first - 1 && k <= last + 1) {
                        return std::nullopt;
                    }
                    continue;
                }
                const bool inside = k >= first && k <= last;
                const bool before = inside ? ink->first < from : (k < first && ink->second > from);
                const bool after = inside ? ink->second > to : (k > last && ink->first < to);
                for (const auto& [reaches, at] :
                     {std::pair{before, first - 1}, {after, last + 1}}) {
                    if (!reaches) {
                        continue;
                    }
                    if (at < 0 || at >= count) {
                        return std::nullopt;
                    }
                    grown = grown || !anew[static_cast<size_t>(at)];
                    anew[static_cast<size_t>(at)] = true;
                }
            }
        }
        return grown;
    };
    std::vector<std::pair<qsizetype, qsizetype>> runs;
    for (bool again = true; again;) {
        again = false;
        runs.clear();
        for (qsizetype first = 0; first < count; ++first) {
            if (!anew[static_cast<size_t>(first)]) {
                continue;
            }
            qsizetype last = first;
            while (last + 1 < count && anew[static_cast<size_t>(last) + 1]) {
                ++last;
            }
            const auto grown = grow(first, last);
            if (!grown) {
                return false;
            }
            again = again || *grown;
            runs.emplace_back(first, last);
            first = last;
        }
    }
    // Every image is taken before any is drawn, so that nothing is drawn of a change that fails.
    std::vector<std::pair<QImage, int>> images;
    for (const auto& [first, last] : runs) {
        const Cell* cell = cellAt(first, QStringView(title).mid(first, last - first + 1));
        if (cell == nullptr) {
            return false;
        }
        images.emplace_back(cell->image, columnAt(first));
    }
    for (const auto& [image, column] : images) {
        draw(image, QPoint(column, 0));
    }
    title_ = title;
    return true;
}

int StatusItemCells::columnAt(qsizetype index) const {
    return places_[static_cast<size_t>(index)] >> 6;
}

std::optional<std::pair<int, int>> StatusItemCells::inkAt(qsizetype index, QChar character) {
    auto& known = inks_[static_cast<size_t>(index)];
    for (const Ink& ink : known) {
        if (ink.character == character) {
            return ink.columns;
        }
    }
    const Cell* cell =
        advanceOf(character) < 0.0 ? nullptr : cellAt(index, QStringView(&character, 1));
    Ink ink{character, std::nullopt};
    if (cell != nullptr) {
        ink.columns =
            std::pair{columnAt(index) - cell->inkBefore, columnAt(index + 1) + cell->inkAfter};
    }
    known.push_back(ink);
    return ink.columns;
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

const StatusItemCells::Cell* StatusItemCells::cellAt(qsizetype index, QStringView text) {
    const int from = places_[static_cast<size_t>(index)];
    const int to = places_[static_cast<size_t>(index + text.size())];
    const int column = from >> 6;
    const int width = (to >> 6) - column;
    const QSize pixels = (QSizeF(look_.size) * look_.scale).toSize();
    if (column < 0 || width <= 0 || column + width > pixels.width()) {
        return nullptr;
    }
    const bool even = backgroundEven();
    for (Cell& cell : cells_) {
        if (cell.phase == (from & 63) && cell.width == width && (even || cell.column == column) &&
            cell.text.size() == text.size() && cell.text.front() == text.front() &&
            QStringView(cell.text) == text) {
            cell.used = ++uses_;
            return &cell;
        }
    }
    // Drawn with room around: no glyph reaches further from its place than the item is high.
    const int left = std::max(0, column - pixels.height());
    const int right = std::min(pixels.width(), column + width + pixels.height());
    const QImage drawn = render(index, text.toString(), left, right - left);
    const int own = column - left;
    Cell cell{
        text.toString(), from & 63, column, width, 0, 0, drawn.copy(own, 0, width, drawn.height()),
        ++uses_};
    // The glyphs' ink: the columns outside their own that differ from the background alone.
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        const auto* bare = reinterpret_cast<const QRgb*>(empty_.constScanLine(y)) + left;
        const auto first = std::mismatch(row, row + own, bare).first - row;
        cell.inkBefore = std::max(cell.inkBefore, static_cast<int>(own - first));
        for (int x = drawn.width() - 1; x >= own + width + cell.inkAfter; --x) {
            if (row[x] != bare[x]) {
                cell.inkAfter = x + 1 - own - width;
                break;
            }
        }
    }
    // Ink at the edge of the room may go on beyond it: no run can hold such a glyph.
    if ((left > 0 && cell.inkBefore == own) ||
        (right < pixels.width() && own + width + cell.inkAfter == drawn.width())) {
        cell.inkBefore = cell.inkAfter = pixels.width();
    }
    if (cells_.size() >= kMostCells) {
        cells_.erase(
            std::min_element(cells_.begin(), cells_.end(),
                             [](const Cell& a, const Cell& b) { return a.used < b.used; }));
    }
    cells_.push_back(std::move(cell));
    return &cells_.back();
}

QImage StatusItemCells::render(qsizetype index, const QString& text, int left, int width) const {
    QImage image(width, (QSizeF(look_.size) * look_.scale).toSize().height(), QImage::Format_RGB32);
    image.setDevicePixelRatio(look_.scale);
    QPainter painter(&image);
    painter.translate(-left / look_.scale, 0.0);
    background_(painter);
    if (index >= 0) {
        const auto layout = lineOf(text, look_.font, Qt::LeftToRight);
        painter.setPen(look_.ink);
        layout->draw(&painter, QPointF(xs_[static_cast<size_t>(index)],
                                       look_.baseline - layout->lineAt(0).ascent()));
    }
    return image;
}

bool StatusItemCells::backgroundEven() {
    if (empty_.isNull()) {
        empty_ = render(-1, QString(), 0, (QSizeF(look_.size) * look_.scale).toSize().width());
    }
    if (even_ < 0) {
        const int from = std::max(0, places_.front() >> 6);
        const int to = std::min(static_cast<int>(empty_.width()), (places_.back() >> 6) + 1);
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
