#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/statusbar/StatusBarHost.h"

namespace vorelt {

class StatusNotifierItem;

// The status bar as StatusNotifierItems in the panel's tray, with Ayatana's text labels.
// The status bar in the desktop's own panel: each item is published as a tray item with a text
// label, which the panel shows in place of the program's bar window.
class StatusNotifierTray : public StatusBarHost {
public:
    // Why the panel did not take an item.
    using RefusalHandler = std::function<void(const std::string& why)>;

    // `panelShowsLabels`: the panel shows items' labels, not only their icons and tool tips.
    // `refused` hears of each item that the panel refuses, drops or does not list.
    explicit StatusNotifierTray(bool panelShowsLabels = true, RefusalHandler refused = {});
    ~StatusNotifierTray() override;

    void addItem(StatusItem& item) override;
    void removeItem(StatusItem& item) override;
    void itemChanged(StatusItem& item) override;
    // Where the panel was last clicked, so that the popover opens there.
    Rect screenFrameOfItem(const StatusItem& item) const override;
    // Beside the program's own panel applet, away from its panel's edge, when the click was the
    // applet's.
    std::optional<RectEdge> popoverEdgeOfItem(const StatusItem& item) const override;

    // Keeps the items passive, as another host shows their titles, and tells `changed` whenever
    // The program's panel applet starts or stops showing one. Before the first item is added.
    void followApplet(std::function<void()> changed);
    bool appletShows(const StatusItem& item) const;

    // The published item of `item`, or none.
    StatusNotifierItem* publishedItem(const StatusItem& item) const;

private:
    bool panelShowsLabels_;
    RefusalHandler refused_;
    std::function<void()> appletChanged_;
    std::vector<std::unique_ptr<StatusNotifierItem>> items_;
};

}  // namespace vorelt
