#pragma once

#include <memory>
#include <vector>

#include "platform/statusbar/StatusBarHost.h"

namespace vorelt {

class StatusNotifierItem;

// The status bar in the desktop's own panel: each item is published as a tray item with a text
// label, which the panel shows in place of Vorelt's bar window.
class StatusNotifierTray : public StatusBarHost {
public:
    // `panelShowsLabels`: the panel shows items' labels, not only their icons and tool tips.
    explicit StatusNotifierTray(bool panelShowsLabels = true);
    ~StatusNotifierTray() override;

    void addItem(StatusItem& item) override;
    void removeItem(StatusItem& item) override;
    void itemChanged(StatusItem& item) override;
    // Where the panel was last clicked, so that the popover opens there.
    Rect screenFrameOfItem(const StatusItem& item) const override;

    // The published item of `item`, or none.
    StatusNotifierItem* publishedItem(const StatusItem& item) const;

private:
    bool panelShowsLabels_;
    std::vector<std::unique_ptr<StatusNotifierItem>> items_;
};

}  // namespace vorelt
