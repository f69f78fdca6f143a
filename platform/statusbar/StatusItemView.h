#pragma once

#include <QTextLayout>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/statusbar/StatusItemCells.h"

namespace vorelt {

class StatusItem;
class X11ImageWindow;

// A status item's QWidget in the bar window: its title, highlighted under the mouse.
class StatusItemView : public QWidget {
public:
    StatusItemView(StatusItem& item, QWidget* parent);
    ~StatusItemView() override;

    StatusItem& item() const { return item_; }
    // Takes the item's title and length; repaints and asks the bar for room only for what changed.
    void refresh();
    // Gives the title to screen readers. Without one running, a new title is not announced: the
    // bar gives it when one starts.
    void tellScreenReaders();

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // A word of the title with the blanks after it, laid out in a QTextLayout of its own: a new
    // title lays out and paints again only the words that changed.
    struct Piece {
        QString text;
        std::unique_ptr<QTextLayout> layout;
        qreal x = 0.0;
        qreal advance = 0.0;
    };

    int widthHint() const;
    // Lays the title out in the current font, once per title: measuring and drawing both use it.
    // With `keepPieces`, words that stay as they were keep their layout. Returns the pieces
    // before: those laid out anew keep their layout, to tell where they changed.
    std::vector<Piece> layOut(bool keepPieces);
    // Whether the words laid out one by one stand where the whole title laid out at once puts
    // them; a font that kerns a blank with the next letter would move them.
    bool piecesMatchWholeTitle() const;
    // Sets and lays out a new title; the part of the view that changed.
    QRect takeTitle(const QString& title);
    void paintBackground(QPainter& painter) const;
    void paintTitle(QPainter& painter, const QRect& area) const;
    // Where the title's first word starts on its baseline, in the item.
    QPointF titleStart() const;
    // On X11, the item is shown by a window of its own whose picture the server keeps; none
    // elsewhere, where the toolkit paints it.
    X11ImageWindow* surface();
    // Paints the whole item into its X11 window; false where there is none.
    bool paintWhole();
    // Hands the title just drawn whole to the cells, for the next ticks.
    void takeCells();

    StatusItem& item_;
    QString title_;
    std::vector<Piece> pieces_;
    // The font puts words apart differently from the whole title: one piece until it changes.
    bool whole_ = false;
    qreal advance_ = 0.0;
    qreal ascent_ = 0.0;
    qreal descent_ = 0.0;
    int titleWidth_ = 0;
    int widthHint_ = 0;
    bool hovered_ = false;
    std::unique_ptr<X11ImageWindow> surface_;
    StatusItemCells cells_;
    // The title was changed by cells: the words' layouts are those of an earlier title.
    bool cellsAhead_ = false;
};

}  // namespace vorelt
