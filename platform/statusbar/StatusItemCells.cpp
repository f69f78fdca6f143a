#include "platform/statusbar/StatusItemCells.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <tuple>

namespace vorelt {

namespace {
const QString kSeparators = QStringLiteral(":., ");
const QString kDigits = QStringLiteral("0123456789");
// The characters that may be drawn alone: each has a glyph of its own whatever stands beside it.
const QString kApart = kDigits + kSeparators;
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
        layouts_.clear();
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
            // The first new digit at a place brings the other nine: one after another they are
            // drawn in a fraction of the time each would take on a tick of its own.
            if (kDigits.contains(title[i]) &&
                keptCell(i, QStringView(title).mid(i, 1)) == nullptr) {
                for (const QChar digit : kDigits) {
                    if (advanceOf(digit) == advance) {
                        cellAt(i, QStringView(&digit, 1));
                    }
                }
            }
        }
    }
    // The columns a run paints: where the old or the new ink of its changed characters lies.
    // Elsewhere its pixels stay as they are. Empty (first at or after end) where neither has ink.
    const auto painted = [&](qsizetype first,
                             qsizetype last) -> std::optional<std::pair<int, int>> {
        std::pair<int, int> columns{std::numeric_limits<int>::max(),
                                    std::numeric_limits<int>::min()};
        for (qsizetype k = first; k <= last; ++k) {
            for (int which = title[k] == title_[k] ? 0 : 2; which > 0; --which) {
                const auto ink = inkAt(k, which == 1 ? title[k] : title_[k]);
                if (!ink) {
                    return std::nullopt;
                }
                if (ink->first < ink->second) {
                    columns = {std::min(columns.first, ink->first),
                               std::max(columns.second, ink->second)};
                }
            }
        }
        return columns;
    };
    // A run of characters drawn together must hold all the changed ink within its columns, and
    // no glyph outside it may reach into the columns it paints. Glyphs further than two
    // characters away reach no run.
    const auto grow = [&](qsizetype first, qsizetype last,
                          const std::pair<int, int>& paints) -> std::optional<bool> {
        const auto [from, to] = paints;
        bool before = from < columnAt(first);
        bool after = to > columnAt(last + 1);
        for (qsizetype k = std::max<qsizetype>(0, first - 2); k <= std::min(count - 1, last + 2);
             ++k) {
            if (k >= first && k <= last) {
                continue;
            }
            // The new character and the old one, where it differs.
            for (int which = title[k] == title_[k] ? 1 : 2; which > 0; --which) {
                const auto ink = inkAt(k, which == 1 ? title[k] : title_[k]);
                if (!ink) {
                    // Only digits and separators are known to be drawn alone.
                    if (k == first - 1 || k == last + 1) {
                        return std::nullopt;
                    }
                    continue;
                }
                if (ink->first < to && ink->second > from) {
                    (k < first ? before : after) = true;
                }
            }
        }
        bool grown = false;
        for (const auto& [reaches, at] : {std::pair{before, first - 1}, {after, last + 1}}) {
            if (!reaches) {
                continue;
            }
            if (at < 0 || at >= count) {
                return std::nullopt;
            }
            grown = grown || !anew[static_cast<size_t>(at)];
            anew[static_cast<size_t>(at)] = true;
        }
        return grown;
    };
    // Each run, first and last character, with the columns it paints.
    std::vector<std::tuple<qsizetype, qsizetype, std::pair<int, int>>> runs;
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
            const auto paints = painted(first, last);
            const auto grown = paints ? grow(first, last, *paints) : std::nullopt;
            if (!grown) {
                return false;
            }
            again = again || *grown;
            runs.emplace_back(first, last, *paints);
            first = last;
        }
    }
    // Every image is taken before any is drawn, so that nothing is drawn of a change that fails.
    struct Part {
        QImage image;
        int x;
        int from;
        int to;
    };
    std::vector<Part> parts;
    for (const auto& [first, last, paints] : runs) {
        const auto [from, to] = paints;
        if (from >= to) {
            continue;
        }
        const Cell* cell = cellAt(first, QStringView(title).mid(first, last - first + 1));
        if (cell == nullptr) {
            return false;
        }
        const int x = from - columnAt(first);
        if (x < 0 || x + (to - from) > cell->image.width()) {
            return false;
        }
        parts.push_back({cell->image, x, from, to});
    }
    for (const Part& part : parts) {
        // The painted columns of the cell's image, without a copy.
        draw(QImage(part.image.constBits() + part.x * 4, part.to - part.from, part.image.height(),
                    part.image.bytesPerLine(), part.image.format()),
             QPoint(part.from, 0));
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
        ink.columns = std::pair{columnAt(index) + cell->inkFirst, columnAt(index) + cell->inkEnd};
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
    if (Cell* cell = keptCell(index, text)) {
        cell->used = ++uses_;
        return cell;
    }
    // Drawn with room around: no glyph reaches further from its place than the item is high.
    const int left = std::max(0, column - pixels.height());
    const int right = std::min(pixels.width(), column + width + pixels.height());
    const QImage drawn = render(index, text.toString(), left, right - left);
    const int own = column - left;
    Cell cell{
        text.toString(), from & 63, column, width, 0, 0, drawn.copy(own, 0, width, drawn.height()),
        ++uses_};
    // The glyphs' ink: the columns that differ from the background alone. Most rows hold none.
    int first = drawn.width();
    int end = 0;
    const auto bytes = static_cast<size_t>(drawn.width()) * sizeof(QRgb);
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        const auto* bare = reinterpret_cast<const QRgb*>(empty_.constScanLine(y)) + left;
        if (std::memcmp(row, bare, bytes) == 0) {
            continue;
        }
        int x = 0;
        while (row[x] == bare[x]) {
            ++x;
        }
        first = std::min(first, x);
        for (x = drawn.width(); row[x - 1] == bare[x - 1];) {
            --x;
        }
        end = std::max(end, x);
    }
    cell.inkFirst = first - own;
    cell.inkEnd = std::max(first, end) - own;
    // Ink at the edge of the room may go on beyond it: no run can hold such a glyph.
    if ((left > 0 && first == 0) || (right < pixels.width() && end == drawn.width())) {
        cell.inkFirst = -pixels.width();
        cell.inkEnd = width + pixels.width();
    }
    if (cells_.size() >= kMostCells) {
        cells_.erase(
            std::min_element(cells_.begin(), cells_.end(),
                             [](const Cell& a, const Cell& b) { return a.used < b.used; }));
    }
    cells_.push_back(std::move(cell));
    return &cells_.back();
}

StatusItemCells::Cell* StatusItemCells::keptCell(qsizetype index, QStringView text) {
    const int from = places_[static_cast<size_t>(index)];
    const int width = columnAt(index + text.size()) - columnAt(index);
    const bool even = backgroundEven();
    for (Cell& cell : cells_) {
        if (cell.phase == (from & 63) && cell.width == width &&
            (even || cell.column == (from >> 6)) && cell.text.size() == text.size() &&
            cell.text.front() == text.front() && QStringView(cell.text) == text) {
            return &cell;
        }
    }
    return nullptr;
}

QImage StatusItemCells::render(qsizetype index, const QString& text, int left, int width) {
    QImage image(width, (QSizeF(look_.size) * look_.scale).toSize().height(), QImage::Format_RGB32);
    image.setDevicePixelRatio(look_.scale);
    QPainter painter(&image);
    painter.translate(-left / look_.scale, 0.0);
    background_(painter);
    if (index >= 0) {
        // A single character's layout serves each place it takes; a run's is drawn once.
        std::unique_ptr<QTextLayout> own;
        const QTextLayout* layout = nullptr;
        if (text.size() == 1) {
            auto it = std::find_if(layouts_.begin(), layouts_.end(),
                                   [&text](const auto& kept) { return kept.first == text; });
            if (it == layouts_.end()) {
                layouts_.emplace_back(text, lineOf(text, look_.font, Qt::LeftToRight));
                it = layouts_.end() - 1;
            }
            layout = it->second.get();
        } else {
            own = lineOf(text, look_.font, Qt::LeftToRight);
            layout = own.get();
        }
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
