#pragma once

#include <QWidget>

#include <functional>

#include "platform/foundation/Geometry.h"

class QVBoxLayout;

namespace vorelt {

// A frameless, always-on-top Qt tool window.
// The frameless window of a popover: a rounded panel with an arrow that points at its anchor. It
// takes the keyboard when it opens; Escape asks for it to be closed.
class PopoverWindow : public QWidget {
public:
    explicit PopoverWindow(std::function<void()> cancel);
    // A window closed by its end gets no hide event of its own: the keys stop here too.
    ~PopoverWindow() override;

    // Shows `content` inside the panel; the content stays owned by whoever owns it now.
    void setContent(QWidget* content);
    // Places the panel on `side` of `anchor`, a rectangle on screen, within the screen: below it
    // (MinY), above it (MaxY), left (MinX) or right of it (MaxX).
    void placeAgainst(const QRect& anchor, RectEdge side);
    // Gives the focus to the first control that Tab reaches.
    void focusFirstControl();

    static constexpr int kArrowHeight = 8;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPainterPath outline() const;
    void updateMask();

    std::function<void()> cancel_;
    QVBoxLayout* layout_;
    QWidget* content_ = nullptr;
    // Where the arrow points, along the side that faces the anchor.
    int arrowAt_ = 0;
    RectEdge side_ = RectEdge::MinY;
    // In a Wayland session a shaped window shows black corners, and where the compositor places
    // it an arrow would point nowhere: a plain rectangle there.
    const bool plain_;
};

}  // namespace vorelt
