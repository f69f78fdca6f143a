#include "platform/ui/PopoverWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/foundation/WindowingSystem.h"
#include "platform/wayland/WaylandOverlay.h"
#include "platform/x11/X11Desktop.h"

namespace vorelt {

namespace {
constexpr int kRadius = 10;
constexpr int kArrowHalfWidth = 9;
constexpr int kScreenMargin = 4;

// On X11 it places itself, past the window manager: a tiling manager would otherwise frame it,
// move it or give it a tile, and a taskbar or pager would list it. Through XWayland too where the
// Wayland overlay sees the presses around it (the compositor would float it in the middle).
// Elsewhere in a Wayland session the compositor places it, and takes the focus back from a window
// that placed itself at once: the focus is what closes it there.
Qt::WindowFlags popoverFlags() {
    const Qt::WindowFlags flags = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (!X11Desktop::available()) {
        return flags | Qt::Tool;
    }
    if (!WindowingSystem::inWaylandSession()) {
        return flags | Qt::Tool | Qt::BypassWindowManagerHint;
    }
    return WaylandOverlay::instance() != nullptr ? flags | Qt::Window | Qt::BypassWindowManagerHint
                                                 : flags | Qt::Tool;
}
}  // namespace

PopoverWindow::PopoverWindow(std::function<void()> cancel)
    : QWidget(nullptr, popoverFlags()),
      cancel_(std::move(cancel)),
      layout_(new QVBoxLayout(this)),
      plain_(WindowingSystem::inWaylandSession()) {
    setObjectName("Popover");
    // Lets scripts and assistive tools find the window.
    setWindowTitle("Popover");
    setAttribute(Qt::WA_ShowWithoutActivating);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { cancel_(); });
    layout_->setContentsMargins(12, 12 + (plain_ ? 0 : kArrowHeight), 12, 12);
    layout_->setSizeConstraint(QLayout::SetFixedSize);
    (void)winId();
    // Through XWayland a popup menu is given no keyboard focus, which the overlay's key layer
    // takes.
    if (!WindowingSystem::inWaylandSession() || WaylandOverlay::instance() != nullptr) {
        setAttribute(Qt::WA_X11NetWmWindowTypePopupMenu);
    }
    X11Desktop::skipTaskbarAndPager(winId());
}

PopoverWindow::~PopoverWindow() {
    if (WaylandOverlay* overlay = WaylandOverlay::instance()) {
        overlay->stopSendingKeys();
    }
}

void PopoverWindow::setContent(QWidget* content) {
    if (content_ == content) {
        return;
    }
    if (content_ != nullptr) {
        layout_->removeWidget(content_);
        content_->setParent(nullptr);
    }
    content_ = content;
    if (content_ != nullptr) {
        layout_->addWidget(content_);
        content_->show();
    }
}

void PopoverWindow::placeAgainst(const QRect& anchor, RectEdge side) {
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    // The work area leaves out the panels: a click on a panel's tray opens the popover at the
    // panel's edge, never over the panel, and above it when the panel is at the bottom.
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // The window's coordinates are read on the screen it belongs to: it must be the anchor's.
    if (screen != nullptr && this->screen() != screen) {
        setScreen(const_cast<QScreen*>(screen));
    }
    const bool beside = side == RectEdge::MinX || side == RectEdge::MaxX;
    if (!beside && anchor.center().y() > area.bottom()) {
        side = RectEdge::MaxY;
    } else if (!beside && anchor.center().y() < area.top()) {
        side = RectEdge::MinY;
    }
    side_ = side;
    const int arrow = plain_ ? 0 : kArrowHeight;
    layout_->setContentsMargins(
        12 + (side == RectEdge::MaxX ? arrow : 0), 12 + (side == RectEdge::MinY ? arrow : 0),
        12 + (side == RectEdge::MinX ? arrow : 0), 12 + (side == RectEdge::MaxY ? arrow : 0));
    adjustSize();
    const QSize size = sizeHint().expandedTo(minimumSizeHint());
    // Centred on the anchor along its side, past the anchor across it; within the work area.
    int x = beside ? (side == RectEdge::MaxX ? anchor.right() + 1 : anchor.left() - size.width())
                   : anchor.center().x() - size.width() / 2;
    int y = beside ? anchor.center().y() - size.height() / 2
                   : (side == RectEdge::MinY ? anchor.bottom() + 1 : anchor.top() - size.height());
    const int margin = beside ? 0 : kScreenMargin;
    x = std::clamp(x, area.left() + margin,
                   std::max(area.left() + margin, area.right() - margin - size.width()));
    y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() - size.height()));
    const int along = beside ? anchor.center().y() - y : anchor.center().x() - x;
    arrowAt_ = std::clamp(along, kRadius + kArrowHalfWidth,
                          (beside ? size.height() : size.width()) - kRadius - kArrowHalfWidth);
    setGeometry(x, y, size.width(), size.height());
    updateMask();
    update();
}

void PopoverWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Through XWayland the compositor gives the keyboard to no window that places itself.
    if (WaylandOverlay* overlay = WaylandOverlay::instance(); overlay != nullptr && isWindow()) {
        overlay->sendKeysTo(windowHandle(), [window = QPointer<PopoverWindow>(this)] {
            if (window != nullptr && window->isVisible()) {
                QApplication::setActiveWindow(window);
            }
        });
    }
}

void PopoverWindow::hideEvent(QHideEvent* event) {
    if (WaylandOverlay* overlay = WaylandOverlay::instance()) {
        overlay->stopSendingKeys();
    }
    QWidget::hideEvent(event);
}

// Keys handed on by the overlay reach no shortcut.
void PopoverWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancel_();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void PopoverWindow::focusFirstControl() {
    for (QWidget* w = nextInFocusChain(); w != nullptr && w != this; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisibleTo(this) && w->isEnabled()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

QPainterPath PopoverWindow::outline() const {
    if (plain_) {
        QPainterPath path;
        path.addRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
        return path;
    }
    const double a = kArrowHeight;
    const QRectF body = QRectF(rect()).adjusted(
        0.5 + (side_ == RectEdge::MaxX ? a : 0), 0.5 + (side_ == RectEdge::MinY ? a : 0),
        -0.5 - (side_ == RectEdge::MinX ? a : 0), -0.5 - (side_ == RectEdge::MaxY ? a : 0));
    QPainterPath path;
    path.addRoundedRect(body, kRadius, kRadius);
    // The arrow's base a pixel into the body, its tip at the window's edge that faces the anchor.
    const double at = arrowAt_;
    const double w = kArrowHalfWidth;
    QPolygonF arrow;
    switch (side_) {
        case RectEdge::MinY:
            arrow << QPointF(at - w, body.top() + 1) << QPointF(at, 0.5)
                  << QPointF(at + w, body.top() + 1);
            break;
        case RectEdge::MaxY:
            arrow << QPointF(at - w, body.bottom() - 1) << QPointF(at, height() - 0.5)
                  << QPointF(at + w, body.bottom() - 1);
            break;
        case RectEdge::MaxX:
            arrow << QPointF(body.left() + 1, at - w) << QPointF(0.5, at)
                  << QPointF(body.left() + 1, at + w);
            break;
        case RectEdge::MinX:
            arrow << QPointF(body.right() - 1, at - w) << QPointF(width() - 0.5, at)
                  << QPointF(body.right() - 1, at + w);
            break;
    }
    QPainterPath tip;
    tip.addPolygon(arrow);
    tip.closeSubpath();
    return path.united(tip);
}

void PopoverWindow::resizeEvent(QResizeEvent*) {
    updateMask();
}

// Without a compositor there is no transparency: the window takes the panel's shape, which
// changes with the arrow's side and place even when the size stays.
void PopoverWindow::updateMask() {
    if (!plain_) {
        setMask(QRegion(outline().toFillPolygon().toPolygon()));
    }
}

void PopoverWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor border = palette().color(QPalette::WindowText);
    border.setAlpha(70);
    painter.setPen(QPen(border, 1));
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawPath(outline());
}

}  // namespace vorelt
