#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QPainter;
class QTextLayout;

namespace vorelt {

// QImage cells of the bar's title, drawn with QPainter and QTextLayout and reused.
// Draws a new title over the one before a character at a time, from images of single characters
// kept from earlier titles, wherever that gives exactly the pixels that drawing the whole title
// would: digits and their separators, at places that the change does not move. Only the columns
// holding a changed character's old or new ink are painted; where a neighbour's ink reaches into
// those, the two are drawn together as one run. A title that
// ticks every second then costs no layout and no drawing of text once its digits have been seen.
class StatusItemCells {
public:
    // The QImage's size and scale, the QFont and the colours the title is drawn on and with.
    struct Look {
        QSize size;
        qreal scale = 1.0;
        QFont font;
        QColor ink;
        QColor background;
        bool highlighted = false;
        qreal baseline = 0.0;

        bool operator==(const Look& other) const = default;
    };
    // Paints the item's background, in its own coordinates.
    using Background = std::function<void(QPainter&)>;
    // Puts an image, in device pixels, at a place in the item.
    using Draw = std::function<void(const QImage& image, const QPoint& at)>;

    // The title now shown whole: `xs` holds where each character starts in the item and, last,
    // where the title ends.
    void take(const Look& look, Background background, const QString& title, std::vector<qreal> xs);
    // Forgets the title: the next one is drawn whole.
    void clear();
    // Draws only what changed from the last title to `title` and returns true; or draws nothing
    // and returns false when only drawing the whole title would be exact.
    bool change(const QString& title, const Draw& draw);

    // Whether a character is one of the separators between digits (a blank, a colon, a point or
    // a comma), drawn by a glyph of its own like the digits.
    static bool separates(QChar character);
    // The one-line layout the item draws its title with, as QPainter::drawText lays out a line.
    static std::unique_ptr<QTextLayout> lineOf(const QString& text, const QFont& font,
                                               Qt::LayoutDirection direction);

private:
    // A QImage of a character, or of a run of characters drawn together, in its columns.
    struct Cell {
        QString text;
        int phase = 0;
        int column = 0;
        int width = 0;
        // The columns its ink covers, from the cell's first: the first, and after the last
        // (no further than the first where there is none). They may lie outside its own.
        int inkFirst = 0;
        int inkEnd = 0;
        QImage image;
        // When it was last asked for: the least recently used cell goes first.
        std::uint64_t used = 0;
    };
    // Where the ink of a character reaches at one index, known for the title's places.
    struct Ink {
        QChar character;
        std::optional<std::pair<int, int>> columns;
    };

    // Whether the characters that may be drawn alone keep each other's places: no kerning
    // between them, and each always as wide.
    bool fontKeepsPlaces();
    // A character's advance where the font keeps places; negative for one not drawn alone.
    qreal advanceOf(QChar character) const;
    // The first device pixel column of the character at `index`; at the title's length, the
    // column after its end.
    int columnAt(qsizetype index) const;
    // The columns a character's ink covers at `index`, first and after the last (the same where
    // it has none); none for a character not drawn alone.
    std::optional<std::pair<int, int>> inkAt(qsizetype index, QChar character);
    const Cell* cellAt(qsizetype index, QStringView text);
    // The cell kept for `text` at `index`, if any.
    Cell* keptCell(qsizetype index, QStringView text);
    // The background and `text` at `index`, in the device pixel columns from `left` on.
    QImage render(qsizetype index, const QString& text, int left, int width);
    // Whether every column of the background under the title is the same, so that a cell drawn
    // in one place may be put in another.
    bool backgroundEven();

    Look look_;
    Background background_;
    QString title_;
    std::vector<qreal> xs_;
    // The same places in device pixels, in 64ths.
    std::vector<int> places_;
    bool valid_ = false;

    QFont checkedFont_;
    bool fontChecked_ = false;
    bool keepsPlaces_ = false;
    std::vector<std::pair<QChar, qreal>> advances_;

    QImage empty_;
    int even_ = -1;
    std::vector<Cell> cells_;
    std::uint64_t uses_ = 0;
    // The layouts of the single characters drawn so far, in the look's font.
    std::vector<std::pair<QString, std::unique_ptr<QTextLayout>>> layouts_;
    // By index: a tick asks again for the ink of the same neighbours.
    std::vector<std::vector<Ink>> inks_;
};

}  // namespace vorelt
