#include "platform/ui/PopoverWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/app/Application.h"
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
    if (!Application::inWaylandSession()) {
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
      plain_(Application::inWaylandSession()) {
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
    if (!Application::inWaylandSession() || WaylandOverlay::instance() != nullptr) {
        setAttribute(Qt::WA_X11NetWmWindowTypePopupMenu);
    }
    X11Desktop::skipTaskbarAndPager(winId());
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

void PopoverWindow::placeAgainst(const QRect& anchor, bool below) {
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
    if (anchor.center().y() > area.bottom()) {
        below = false;
    } else if (anchor.center().y() < area.top()) {
        below = true;
    }
    below_ = below;
    const int arrow = plain_ ? 0 : kArrowHeight;
    const int top = below ? arrow : 0;
    const int bottom = below ? 0 : arrow;
    layout_->setContentsMargins(12, 12 + top, 12, 12 + bottom);
    adjustSize();
    const QSize size = sizeHint().expandedTo(minimumSizeHint());
    int x = anchor.center().x() - size.width() / 2;
    x = std::clamp(
        x, area.left() + kScreenMargin,
        std::max(area.left() + kScreenMargin, area.right() - kScreenMargin - size.width()));
    int y = below ? anchor.bottom() + 1 : anchor.top() - size.height();
    y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() - size.height()));
    arrowX_ = std::clamp(anchor.center().x() - x, kRadius + kArrowHalfWidth,
                         size.width() - kRadius - kArrowHalfWidth);
    setGeometry(x, y, size.width(), size.height());
    updateMask();
    update();
}

void PopoverWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Through XWayland the compositor gives the keyboard to no window that places itself.
    if (WaylandOverlay* overlay = WaylandOverlay::instance(); overlay != nullptr && isWindow()) {
        overlay->sendKeysTo(windowHandle(), [this] {
            if (isVisible()) {
                QApplication::setActiveWindow(this);
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
    const QRectF body = QRectF(rect()).adjusted(0.5, below_ ? kArrowHeight + 0.5 : 0.5, -0.5,
                                                below_ ? -0.5 : -kArrowHeight - 0.5);
    QPainterPath path;
    path.addRoundedRect(body, kRadius, kRadius);
    QPainterPath arrow;
    const double edge = below_ ? body.top() : body.bottom();
    const double tip = below_ ? 0.5 : height() - 0.5;
    arrow.moveTo(arrowX_ - kArrowHalfWidth, edge + (below_ ? 1 : -1));
    arrow.lineTo(arrowX_, tip);
    arrow.lineTo(arrowX_ + kArrowHalfWidth, edge + (below_ ? 1 : -1));
    arrow.closeSubpath();
    return path.united(arrow);
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
