#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/foundation/Geometry.h"

class QWindow;

namespace vorelt {

// wlroots' layer shell over libwayland-client, on a Wayland connection beside XWayland.
// A connection of its own to the Wayland compositor, for a program whose windows go through
// XWayland: X11 sees neither the pointer nor the presses over Wayland's own windows (a panel such
// as waybar, native programs). A transparent layer over each output, above everything else, tells
// where the pointer is and catches the presses outside the program's own windows; a layer of one
// pixel takes the keyboard for a window that places itself. There only
// where the compositor has wlroots' layer shell (sway, Hyprland, KWin...).
class WaylandOverlay {
public:
    // A wl_output: its frame and what its layer surfaces leave free.
    struct Output {
        Rect frame;
        // The output less the strips that panels keep for themselves.
        Rect workArea;
    };
    // What a press on the layer was.
    enum class Button { left, right, other };
    using PressHandler = std::function<void(Button button, Point place)>;

    // The overlay, or none: not on XWayland in a Wayland session, or no layer shell there.
    static WaylandOverlay* instance();

    WaylandOverlay(const WaylandOverlay&) = delete;
    WaylandOverlay& operator=(const WaylandOverlay&) = delete;
    ~WaylandOverlay();

    // Where the pointer is now, in the screens' coordinates; none when the compositor does not
    // say within a moment.
    std::optional<Point> pointer();
    // The outputs, each with its work area. A strip that panels keep is taken to be on the side
    // of the output where `near` is (the top or the left without it).
    std::vector<Output> outputs(std::optional<Point> near);
    // Hands each press outside the program's visible windows to `press`, on the event loop, until
    // stopCatching(). Such a press reaches nothing else.
    void startCatching(PressHandler press);
    void stopCatching();
    // Takes the keyboard from the compositor and hands the keys to `window`, which XWayland gives
    // none while it places itself, until stopSendingKeys(); `came` runs once the keys come.
    void sendKeysTo(QWindow* window, std::function<void()> came);
    void stopSendingKeys();

    // The connection and its state; named here for the callbacks of the Wayland library.
    struct Impl;

private:
    explicit WaylandOverlay(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

}  // namespace vorelt
