#pragma once

#include "platform/statusbar/StatusBarHost.h"

namespace vorelt {

// A host with no window, no tray item and no output.
// The status bar while the desktop has no place for it: it shows nothing, and nothing of it
// covers the user's windows.
class HiddenStatusBar : public StatusBarHost {
public:
    void addItem(StatusItem&) override {}
    void removeItem(StatusItem&) override {}
    void itemChanged(StatusItem&) override {}
    Rect screenFrameOfItem(const StatusItem&) const override { return Rect{}; }
};

}  // namespace vorelt
