#pragma once

#include <memory>

#include "platform/foundation/Geometry.h"
#include "platform/foundation/Object.h"

namespace vorelt {

class StatusBarButton;
class ViewController;

// A panel that opens anchored to a control and shows its content controller's view, and takes the
// keyboard. It never closes by itself: only performClose: closes it. Escape sends the action
// "closePopover:" up the responder chain, and closes it only when nobody answers; so does a change
// of the monitors, which moves the control it points at. (Where the windowing system has no
// global mouse monitor, and in Wayland sessions whose own windows' clicks neither an X11 monitor
// nor the Wayland overlay sees, losing activation closes it too, so that it can still be
// dismissed.)
class Popover : public Object {
public:
    Popover();
    ~Popover() override;

    bool isShown() const;

    void setContentViewController(const std::shared_ptr<ViewController>& controller);
    std::shared_ptr<ViewController> contentViewController() const;

    // Opens against `rect` of `view` (in the view's own coordinates), on `preferredEdge`; the
    // minimum-y edge opens it below a status item. A host that knows better where its item is
    // chooses the edge itself (an applet in a bottom or side panel). Kept on screen.
    void showRelativeToRect(Rect rect, StatusBarButton& view, RectEdge preferredEdge);
    // Closes it; harmless when it is closed.
    void performClose(Object* sender);

    // Where it is on screen, while it is shown.
    Rect frameOnScreen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
