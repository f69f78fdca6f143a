#pragma once

#include <QWidget>

#include <memory>

#include <vector>

#include "platform/statusbar/StatusBarHost.h"
#include "platform/x11/WorkAreaTop.h"
#include "platform/x11/X11MouseWatcher.h"

class QHBoxLayout;

namespace vorelt {

class StatusItemView;
class X11WorkArea;

// The own bar: a frameless, always-on-top Qt window, an X11 dock with _NET_WM_STRUT_PARTIAL.
// The status bar on a display: a slim frameless window along the top of the primary monitor's
// work area, below any panel already there, above other windows, with its items at the right end.
// On X11 it is a dock window that reserves its strip of the screen. Its window name and accessible
// name carry the items' titles, so that screen readers and scripts can read the clock.
class StatusBarWindow : public QWidget,
                        public StatusBarHost,
                        public X11MouseWatcher::PartlyOwnWindow {
public:
    StatusBarWindow();
    ~StatusBarWindow() override;

    void addItem(StatusItem& item) override;
    void removeItem(StatusItem& item) override;
    void itemChanged(StatusItem& item) override;
    Rect screenFrameOfItem(const StatusItem& item) const override;
    // Only where an item is: a press on the empty part of the bar counts as outside.
    bool takesPressAt(QPoint local) const override;

    // Puts the bar at the top of the primary monitor's work area, below the strips that other
    // docks reserve, and reserves its own strip there. It is called again by itself when the
    // monitors, the work area or the other docks change.
    void placeOnScreen();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StatusItemView* viewOf(const StatusItem& item) const;
    // Places the bar again after any change of screens, of the work area or of the other docks.
    void followScreens();
    void updateName();

    QHBoxLayout* layout_;
    // The other docks and the window manager on X11; none elsewhere.
    std::unique_ptr<X11WorkArea> workArea_;
    WorkAreaTop top_;
    // The strip last reserved as _NET_WM_STRUT_PARTIAL, in the display's pixels: it is written
    // again only when it changes, since each write makes the window manager write its work area
    // again.
    struct Strip {
        int bottom = -1;
        int startX = 0;
        int endX = 0;
        bool operator==(const Strip&) const = default;
    };
    Strip reserved_;
    std::vector<StatusItemView*> views_;
    QString name_;
    // Names are announced only while a screen reader runs: one that starts is given them all.
    struct ScreenReaderWatch;
    std::unique_ptr<ScreenReaderWatch> screenReaders_;
};

}  // namespace vorelt
