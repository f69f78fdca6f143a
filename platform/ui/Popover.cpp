#include "platform/ui/Popover.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "platform/foundation/ActionDispatcher.h"
#include "platform/foundation/FreeMemory.h"
#include "platform/foundation/QtGeometry.h"
#include "platform/foundation/WindowingSystem.h"
#include "platform/ui/Event.h"
#include "platform/ui/PopoverWindow.h"
#include "platform/ui/ScreenChanges.h"
#include "platform/ui/ViewController.h"
#include "platform/wayland/WaylandOverlay.h"

namespace vorelt {

struct Popover::Impl {
    std::shared_ptr<ViewController> content;
    std::unique_ptr<PopoverWindow> window;
    QMetaObject::Connection deactivation;
};

Popover::Popover() : d(std::make_unique<Impl>()) {}

Popover::~Popover() {
    QObject::disconnect(d->deactivation);
    if (d->window) {
        // The content view belongs to its controller, not to the window.
        d->window->setContent(nullptr);
    }
}

bool Popover::isShown() const {
    return d->window && d->window->isVisible();
}

void Popover::setContentViewController(const std::shared_ptr<ViewController>& controller) {
    if (d->window) {
        d->window->setContent(nullptr);
    }
    d->content = controller;
}

std::shared_ptr<ViewController> Popover::contentViewController() const {
    return d->content;
}

void Popover::showRelativeToRect(Rect rect, const Anchor& anchor, RectEdge preferredEdge) {
    if (!d->window) {
        // Escape closes it the way its owner closes it, so that the owner knows.
        const auto closeAsOwner = [this] {
            if (!ActionDispatcher::send("closePopover:", nullptr, this)) {
                performClose(this);
            }
        };
        d->window = std::make_unique<PopoverWindow>(closeAsOwner);
        // When the monitors change, the item it points at moves or goes: it closes, and opens
        // again by the item at the next click.
        ScreenChanges::follow(d->window.get(), [this, closeAsOwner] {
            if (isShown()) {
                closeAsOwner();
            }
        });
        // Through XWayland, where the compositor has no overlay for the clock, presses over
        // Wayland's own windows are not seen: losing the focus closes it there. Where there is
        // one, the compositor may hand the focus back and forth as it maps the window.
        const bool pressesUnseen =
            WindowingSystem::inWaylandSession() && WaylandOverlay::instance() == nullptr;
        if (!Event::globalMonitorsAvailable() || pressesUnseen) {
            d->deactivation = QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged,
                                               [this](Qt::ApplicationState s) {
                                                   if (s == Qt::ApplicationInactive && isShown()) {
                                                       performClose(nullptr);
                                                   }
                                               });
        }
    }
    if (d->content) {
        const auto contentView = d->content->view();
        d->content->viewWillAppear();
        d->window->setContent(contentView->widget());
    }
    const Rect frame = anchor.frameOnScreen;
    QRect place(static_cast<int>(frame.x + rect.x), static_cast<int>(frame.y + rect.y),
                std::max(1, static_cast<int>(rect.width)),
                std::max(1, static_cast<int>(rect.height)));
    if (frame.width <= 0.0) {
        // Not on a screen (the status line): open at the end of the top edge, where the bar's
        // item would be.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
        const int end = QGuiApplication::isRightToLeft() ? area.left() + 1 : area.right() - 1;
        place = QRect(end, area.top(), 1, 1);
    }
    // A host that knows where its item is (an applet at a panel's edge) chooses the side.
    const RectEdge vertical = preferredEdge == RectEdge::MaxY ? RectEdge::MaxY : RectEdge::MinY;
    d->window->placeAgainst(place, anchor.edge.value_or(vertical));
    d->window->show();
    d->window->raise();
    // For the keyboard: its first control takes the focus, at every opening. (In a Wayland
    // session activation is also what tells of a click elsewhere, which X11 never sees.)
    d->window->focusFirstControl();
    d->window->activateWindow();
    // Shown again before the toolkit has seen the focus leave, the window still has the focus
    // but is no longer the active one, and then no control shows the focus.
    if (QGuiApplication::focusWindow() == d->window->windowHandle() &&
        QApplication::activeWindow() != d->window.get()) {
        QApplication::setActiveWindow(d->window.get());
    }
}

void Popover::performClose(Object*) {
    if (d->window) {
        d->window->hide();
        FreeMemory::returnSoon();
    }
}

Rect Popover::frameOnScreen() const {
    if (!isShown()) {
        return Rect{};
    }
    return rectFrom(d->window->frameGeometry());
}

}  // namespace vorelt
