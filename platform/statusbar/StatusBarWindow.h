#pragma once

#include <QWidget>

#include <memory>

#include <vector>

#include "platform/statusbar/StatusBarHost.h"

class QHBoxLayout;

namespace vorelt {

class StatusItemView;

// The status bar on a display: a slim frameless window along the top of the primary monitor's
// work area, below any panel already there, above other windows, with its items at the right end.
// On X11 it is a dock window that reserves its strip of the screen. Its window name and accessible
// name carry the items' titles, so that screen readers and scripts can read the clock.
class StatusBarWindow : public QWidget, public StatusBarHost {
public:
    StatusBarWindow();
    ~StatusBarWindow() override;

    void addItem(StatusItem& item) override;
    void removeItem(StatusItem& item) override;
    void itemChanged(StatusItem& item) override;
    Rect screenFrameOfItem(const StatusItem& item) const override;

    // Puts the bar at the top of the primary monitor's work area, the strip that other docks
    // leave free, and reserves its own strip there. Call again when the monitors change.
    void placeOnScreen();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StatusItemView* viewOf(const StatusItem& item) const;
    // Places the bar again after any change of screens.
    void followScreens();
    void updateName();

    QHBoxLayout* layout_;
    // Where the bar was put, and the lower edge of the strip it reserved, both from the top of
    // the screen: the work area leaves out that strip once the window manager has taken it.
    int placedTop_ = 0;
    int reservedTop_ = -1;
    std::vector<StatusItemView*> views_;
    QString name_;
    // Names are announced only while a screen reader runs: one that starts is given them all.
    struct ScreenReaderWatch;
    std::unique_ptr<ScreenReaderWatch> screenReaders_;
};

}  // namespace vorelt
