#pragma once

#include <QWidget>

#include <vector>

#include "platform/StatusBarHost.h"

class QHBoxLayout;

namespace vorelt {

class StatusItemView;

// The status bar on a display: a slim frameless window along the top edge of the primary
// screen, above other windows, with its items at the right end. On X11 it is a dock window that
// reserves its strip of the screen. Its window name and accessible name carry the items' titles,
// so that screen readers and scripts can read the clock.
class StatusBarWindow : public QWidget, public StatusBarHost {
public:
    StatusBarWindow();
    ~StatusBarWindow() override;

    void addItem(StatusItem& item) override;
    void removeItem(StatusItem& item) override;
    void itemChanged(StatusItem& item) override;
    Rect screenFrameOfItem(const StatusItem& item) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StatusItemView* viewOf(const StatusItem& item) const;
    void placeOnScreen();
    void updateName();

    QHBoxLayout* layout_;
    std::vector<StatusItemView*> views_;
};

}  // namespace vorelt
