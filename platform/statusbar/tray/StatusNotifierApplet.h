#pragma once

#include <QDBusServiceWatcher>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

#include "platform/foundation/Geometry.h"

class QDBusConnection;

namespace vorelt {

// The program's own applet in KDE Plasma's panel, as the tray item hears of it. The applet reaches
// the item through Plasma's data engine, which calls nothing but the item's own methods: every two
// seconds it reports as a Scroll of no distance whose orientation reads
// "<name>-applet <edge> <x> <y> <width> <height>", its frame on screen and the screen edge of its
// panel (top, bottom, left, right, or none). It shows the item until its reports stop, or at once
// when the program that sent them leaves the bus.
class StatusNotifierApplet {
public:
    // What one of the applet's Scroll calls reports.
    struct Report {
        Rect frame;
        // The side of the applet the popover opens on, away from its panel's edge; none off a
        // panel.
        std::optional<RectEdge> popoverEdge;
        bool operator==(const Report&) const = default;
    };
    // Three reports missed.
    static constexpr int kLapseMs = 6500;

    // The report an orientation holds; none for a real scroll's.
    static std::optional<Report> parse(const QString& orientation);

    // `changed` hears when the applet starts or stops showing the item.
    StatusNotifierApplet(const QDBusConnection& connection, std::function<void()> changed,
                         int lapseMs = kLapseMs);

    // Takes a Scroll's orientation from the bus name `sender`; whether it was a report.
    bool hear(const QString& orientation, const QString& sender);
    bool shows() const { return report_.has_value(); }
    // The last report, while the applet shows the item.
    const std::optional<Report>& report() const { return report_; }

private:
    void lapse();

    std::function<void()> changed_;
    std::optional<Report> report_;
    QTimer lapse_;
    QDBusServiceWatcher sender_;
};

}  // namespace vorelt
