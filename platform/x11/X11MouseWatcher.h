#pragma once

#include <QAbstractNativeEventFilter>
#include <QPoint>

#include <functional>

#include "platform/foundation/Geometry.h"

namespace vorelt {

// Watches the mouse presses of the whole X11 display (XInput2 raw presses on the root window) and
// reports those that land outside this program's windows.
class X11MouseWatcher : public QAbstractNativeEventFilter {
public:
    enum class Press { left, right, scroll, other };
    using Report = std::function<void(Press press, Point locationOnScreen)>;

    // A Qt window of ours that only some of its parts make ours (the bar, whose empty part is not
    // the popover's): a press on the rest counts as outside.
    class PartlyOwnWindow {
    public:
        // Whether the part at `local` (in the window's own coordinates) takes a press.
        virtual bool takesPressAt(QPoint local) const = 0;

    protected:
        virtual ~PartlyOwnWindow() = default;
    };

    // The watcher of this display, or none when the display has no XInput 2.2.
    static X11MouseWatcher* instance();

    // Reports presses to `report` from now on; presses are only asked for while somebody listens,
    // and an empty report stops asking.
    void watch(Report report);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    X11MouseWatcher() = default;
    bool initialise();

    int opcode_ = -1;
    Report report_;
};

}  // namespace vorelt
