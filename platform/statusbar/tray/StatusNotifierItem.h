#pragma once

#include <QDBusConnection>
#include <QObject>

#include <optional>

#include "platform/foundation/Geometry.h"
#include "platform/foundation/NextTurn.h"
#include "platform/statusbar/tray/StatusNotifierPixmap.h"
#include "platform/statusbar/tray/StatusNotifierToolTip.h"

namespace vorelt {

class StatusItem;

// One status item published in the desktop panel's tray: an icon with the item's title as its
// label. It has a bus connection of its own, so that several items can each sit at the one
// object path the panel looks at, and so that the panel sees the item go when the connection
// closes.
class StatusNotifierItem : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category CONSTANT)
    Q_PROPERTY(QString Id READ id CONSTANT)
    Q_PROPERTY(QString Title READ title CONSTANT)
    Q_PROPERTY(QString Status READ status CONSTANT)
    Q_PROPERTY(QString IconName READ iconName CONSTANT)
    Q_PROPERTY(QList<vorelt::StatusNotifierPixmap> IconPixmap READ iconPixmap CONSTANT)
    Q_PROPERTY(vorelt::StatusNotifierToolTip ToolTip READ toolTip)
    Q_PROPERTY(QString XAyatanaLabel READ label)
    Q_PROPERTY(QString XAyatanaLabelGuide READ labelGuide)
    // No Menu: hosts take any menu path, /NO_DBUSMENU too, for a menu to open in place of
    // Activate, and every click must reach the popover.
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu CONSTANT)

public:
    static constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char* watcherPath = "/StatusNotifierWatcher";
    static constexpr const char* objectPath = "/StatusNotifierItem";

    // Publishes `item` on the session bus and registers it with the panel's watcher. A panel
    // that shows the label hears of each new text as a new label, one that shows only the icon
    // as a new tool tip: one message a change.
    explicit StatusNotifierItem(StatusItem& item, bool panelShowsLabel = true);
    ~StatusNotifierItem() override;

    StatusItem& item() const { return item_; }
    // org.kde.StatusNotifierItem-<pid>-<n>.
    const QString& serviceName() const { return service_; }
    bool isPublished() const { return published_; }

    // Reads the item's title again; tells the panel when the text changed, once a turn of the
    // event loop, so that a title replaced at once never reaches it.
    void refresh();
    // A point-sized rectangle where the panel was last clicked; empty before the first click.
    Rect screenFrame() const;

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const;
    QString title() const { return QStringLiteral("Vorelt"); }
    // Always active: a passive item may be hidden, and an empty title must still be clickable.
    QString status() const { return QStringLiteral("Active"); }
    // None: the pixmaps are Vorelt's own, and no icon theme has to have a clock.
    QString iconName() const { return QString(); }
    QList<StatusNotifierPixmap> iconPixmap() const { return pixmaps_; }
    StatusNotifierToolTip toolTip() const;
    QString label() const { return label_; }
    QString labelGuide() const { return guide_; }
    bool itemIsMenu() const { return false; }

    // The widest text a title of this shape is likely to take: every digit becomes the zero of
    // its digit set, as the panel only ever sees titles, never the pattern behind them.
    static QString guideFor(const QString& label);

public Q_SLOTS:
    void Activate(int x, int y);
    void ContextMenu(int x, int y);
    void SecondaryActivate(int x, int y);
    void Scroll(int delta, const QString& orientation);

Q_SIGNALS:
    void XAyatanaNewLabel(const QString& label, const QString& guide);
    void NewToolTip();

private:
    void click(int x, int y);
    QString currentTitle() const;
    void announceLabel();

    StatusItem& item_;
    QString service_;
    QDBusConnection connection_;
    bool panelShowsLabel_;
    bool published_ = false;
    QList<StatusNotifierPixmap> pixmaps_;
    QString label_;
    QString guide_;
    std::optional<Point> clickedAt_;
    NextTurn labelChanged_{[this] { announceLabel(); }};
};

}  // namespace vorelt
