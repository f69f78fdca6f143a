#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QTextLayout;

namespace vorelt {

// Draws a new title over the one before a character at a time, from images of single characters
// kept from earlier titles, wherever that gives exactly the pixels that drawing the whole title
// would: digits and their separators, each drawn by a glyph that keeps to its own columns, at
// places that the change does not move. A title that ticks every second then costs no layout and
// no drawing of text once its digits have been seen.
class StatusItemCells {
public:
    // What the title is drawn on and with.
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
    struct Cell {
        QChar character;
        int phase = 0;
        int column = 0;
        // The glyph's ink stays within its columns.
        bool apart = false;
        QImage image;
    };

    // Whether the characters that may be drawn alone keep each other's places: no kerning
    // between them, and each always as wide.
    bool fontKeepsPlaces();
    // A character's advance where the font keeps places; negative for one not drawn alone.
    qreal advanceOf(QChar character) const;
    const Cell* cellAt(qsizetype index, QChar character);
    QImage render(qsizetype index, QChar character) const;
    // Whether every column of the background under the title is the same, so that a cell drawn
    // in one place may be put in another.
    bool backgroundEven();

    Look look_;
    Background background_;
    QString title_;
    std::vector<qreal> xs_;
    bool valid_ = false;

    QFont checkedFont_;
    bool fontChecked_ = false;
    bool keepsPlaces_ = false;
    std::vector<std::pair<QChar, qreal>> advances_;

    QImage empty_;
    int even_ = -1;
    std::vector<Cell> cells_;
};

}  // namespace vorelt
