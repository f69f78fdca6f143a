#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/x11/WorkAreaTop.h"

namespace vorelt {

// Root and client window properties (_NET_WORKAREA, struts...) watched through Xlib and xcb.
// What decides the own bar's place on an X11 display besides the monitors: whether a window
// manager runs, its work area, and the strips that the other windows reserve along the top. It
// calls back when any of them may have changed: the manager came or went, the work area, the
// current desktop or the manager's list of windows changed, or a dock changed its strip. Nothing
// else wakes it, and its own window's changes never reach it.
class X11WorkArea : public QAbstractNativeEventFilter {
public:
    X11WorkArea(std::uintptr_t ownWindow, std::function<void()> changed);
    ~X11WorkArea() override;
    X11WorkArea(const X11WorkArea&) = delete;
    X11WorkArea& operator=(const X11WorkArea&) = delete;

    // Reads the display as it is now, and from now on watches the docks found there.
    WorkAreaTop::Desktop read();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    unsigned long runningWindowManager();
    void watch(std::vector<unsigned long> docks);

    unsigned long ownWindow_;
    std::function<void()> changed_;
    unsigned long root_ = 0;
    unsigned long windowManager_ = 0;
    // Windows whose strips are watched: those that have one, and docks, which may set one later.
    std::vector<unsigned long> docks_;
};

}  // namespace vorelt
