#pragma once

#include <QAbstractNativeEventFilter>

namespace vorelt {

// Watches the mouse presses of the whole X11 display (XInput2 raw presses on the root window) and
// hands those that land outside this program's windows to the global event monitors.
class X11MouseWatcher : public QAbstractNativeEventFilter {
public:
    // The watcher of this display, or none when the display has no XInput 2.2.
    static X11MouseWatcher* instance();

    // Presses are only asked for while somebody listens.
    void setWatching(bool watching);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    X11MouseWatcher() = default;
    bool initialise();

    int opcode_ = -1;
    bool watching_ = false;
};

}  // namespace vorelt
