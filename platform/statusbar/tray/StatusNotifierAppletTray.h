#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/statusbar/StatusBarHost.h"
#include "platform/statusbar/tray/StatusNotifierTray.h"

namespace vorelt {

// The status bar on KDE Plasma: passive StatusNotifierItems, titled by the program's applet.
// Plasma's tray shows an item's icon only: each item is published in the tray, passive (Plasma
// keeps it in the tray's hidden part), for the program's own panel applet to show its title in the
// panel. While no applet shows them, the program's own bar shows them as well.
class StatusNotifierAppletTray : public StatusBarHost {
public:
    using BarFactory = std::function<std::unique_ptr<StatusBarHost>()>;

    StatusNotifierAppletTray(BarFactory makeBar, StatusNotifierTray::RefusalHandler refused = {});
    ~StatusNotifierAppletTray() override;

    void addItem(StatusItem& item) override;
    void removeItem(StatusItem& item) override;
    void itemChanged(StatusItem& item) override;
    // The bar's place while it is up, else where the applet was clicked.
    Rect screenFrameOfItem(const StatusItem& item) const override;
    std::optional<RectEdge> popoverEdgeOfItem(const StatusItem& item) const override;

    // The own bar; none while the applet shows the items.
    StatusBarHost* bar() const { return bar_.get(); }
    StatusNotifierTray& tray() { return tray_; }

private:
    // Puts the bar up or takes it down, as the applet went or came.
    void followApplet();

    StatusNotifierTray tray_;
    BarFactory makeBar_;
    std::unique_ptr<StatusBarHost> bar_;
    std::vector<StatusItem*> items_;
};

}  // namespace vorelt
