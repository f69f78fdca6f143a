#include "platform/statusbar/tray/StatusNotifierApplet.h"

#include <QStringList>

#include <array>
#include <utility>

#include "platform/foundation/Identity.h"
#include "platform/foundation/QtText.h"

namespace vorelt {

namespace {
constexpr std::array<std::pair<const char*, std::optional<RectEdge>>, 5> kEdges{{
    {"top", RectEdge::MinY},
    {"bottom", RectEdge::MaxY},
    {"left", RectEdge::MaxX},
    {"right", RectEdge::MinX},
    {"none", std::nullopt},
}};
}  // namespace

std::optional<StatusNotifierApplet::Report> StatusNotifierApplet::parse(
    const QString& orientation) {
    const QStringList words = orientation.split(' ');
    // The applet is the program's own, named after it.
    if (words.size() != 6 || words[0] != qs(Identity::current().name + "-applet")) {
        return std::nullopt;
    }
    std::array<int, 4> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        bool ok = false;
        numbers[i] = words[static_cast<int>(i) + 2].toInt(&ok);
        if (!ok) {
            return std::nullopt;
        }
    }
    if (numbers[2] <= 0 || numbers[3] <= 0) {
        return std::nullopt;
    }
    for (const auto& [name, edge] : kEdges) {
        if (words[1] == QLatin1String(name)) {
            return Report{Rect{static_cast<double>(numbers[0]), static_cast<double>(numbers[1]),
                               static_cast<double>(numbers[2]), static_cast<double>(numbers[3])},
                          edge};
        }
    }
    return std::nullopt;
}

StatusNotifierApplet::StatusNotifierApplet(const QDBusConnection& connection,
                                           std::function<void()> changed, int lapseMs)
    : changed_(std::move(changed)),
      sender_(QString(), connection, QDBusServiceWatcher::WatchForUnregistration) {
    lapse_.setSingleShot(true);
    lapse_.setInterval(lapseMs);
    QObject::connect(&lapse_, &QTimer::timeout, [this] { lapse(); });
    // The panel's program ended (or crashed): no report will come.
    QObject::connect(&sender_, &QDBusServiceWatcher::serviceUnregistered, [this] { lapse(); });
}

bool StatusNotifierApplet::hear(const QString& orientation, const QString& sender) {
    std::optional<Report> report = parse(orientation);
    if (!report) {
        return false;
    }
    const bool showed = shows();
    report_ = std::move(report);
    lapse_.start();
    if (sender_.watchedServices() != QStringList{sender}) {
        sender_.setWatchedServices({sender});
    }
    if (!showed && changed_) {
        changed_();
    }
    return true;
}

void StatusNotifierApplet::lapse() {
    lapse_.stop();
    sender_.setWatchedServices({});
    if (report_) {
        report_.reset();
        if (changed_) {
            changed_();
        }
    }
}

}  // namespace vorelt
