#pragma once

#include <memory>
#include <optional>

#include "platform/foundation/Geometry.h"
#include "platform/foundation/Object.h"

namespace vorelt {

class ViewController;

// A popup beside a status item: a PopoverWindow, a frameless Qt window that takes the keyboard.
// A panel that opens anchored to a control and shows its content controller's view, and takes the
// keyboard. It never closes by itself: only performClose: closes it. Escape sends the action
// "closePopover:" up the responder chain, and closes it only when nobody answers; so does a change
// of the monitors, which moves the control it points at. (Where the windowing system has no
// global mouse monitor, and in Wayland sessions whose own windows' clicks neither an X11 monitor
// nor the Wayland overlay sees, losing activation closes it too, so that it can still be
// dismissed.)
class Popover : public Object {
public:
    // A rectangle on screen and a side, whatever host the control is in.
    // What a popover opens against: where its control is on screen (empty when it is on none, as
    // the status line's), and the side that the control's host chooses, where it knows better than
    // the one who opens it (an applet in a bottom or side panel).
    struct Anchor {
        Rect frameOnScreen;
        std::optional<RectEdge> edge;
    };

    Popover();
    ~Popover() override;

    bool isShown() const;

    void setContentViewController(const std::shared_ptr<ViewController>& controller);
    std::shared_ptr<ViewController> contentViewController() const;

    // Opens against `rect` of the control at `anchor` (in the control's own coordinates), on
    // `preferredEdge` unless the anchor names its side; the minimum-y edge opens it below a status
    // item. Kept on screen.
    void showRelativeToRect(Rect rect, const Anchor& anchor, RectEdge preferredEdge);
    // Closes it; harmless when it is closed.
    void performClose(Object* sender);

    // Where it is on screen, while it is shown.
    Rect frameOnScreen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
