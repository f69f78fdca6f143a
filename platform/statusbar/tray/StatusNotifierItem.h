#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>

#include <functional>
#include <optional>

#include "platform/foundation/Geometry.h"
#include "platform/foundation/NextTurn.h"
#include "platform/statusbar/tray/StatusNotifierApplet.h"
#include "platform/statusbar/tray/StatusNotifierPixmap.h"
#include "platform/statusbar/tray/StatusNotifierToolTip.h"

namespace vorelt {

class DBusMenuExporter;
class Menu;
class StatusItem;

// A tray item over D-Bus (the freedesktop StatusNotifierItem interface, with Ayatana's label).
// One status item published in the desktop panel's tray: an icon with the item's title as its
// label, and the item's menu. It has a bus connection of its own, so that several items can each
// sit at the one object path the panel looks at, and so that the panel sees the item go when the
// connection closes. It answers every property of the interface: a panel that misses one may
// refuse the item. The program's own applet in KDE Plasma's panel shows it from the tray too, and
// reports to it (StatusNotifierApplet).
class StatusNotifierItem : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category CONSTANT)
    Q_PROPERTY(QString Id READ id CONSTANT)
    Q_PROPERTY(QString Title READ title CONSTANT)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId CONSTANT)
    Q_PROPERTY(QString IconThemePath READ iconThemePath CONSTANT)
    Q_PROPERTY(QString IconName READ iconName CONSTANT)
    Q_PROPERTY(QList<vorelt::StatusNotifierPixmap> IconPixmap READ iconPixmap CONSTANT)
    Q_PROPERTY(QString OverlayIconName READ noIconName CONSTANT)
    Q_PROPERTY(QList<vorelt::StatusNotifierPixmap> OverlayIconPixmap READ noIconPixmap CONSTANT)
    Q_PROPERTY(QString AttentionIconName READ noIconName CONSTANT)
    Q_PROPERTY(QList<vorelt::StatusNotifierPixmap> AttentionIconPixmap READ noIconPixmap CONSTANT)
    Q_PROPERTY(QString AttentionMovieName READ noIconName CONSTANT)
    Q_PROPERTY(vorelt::StatusNotifierToolTip ToolTip READ toolTip)
    // A click sends Activate where the panel can; the menu is for panels that open it instead.
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu CONSTANT)
    Q_PROPERTY(QDBusObjectPath Menu READ menu CONSTANT)
    Q_PROPERTY(QString XAyatanaLabel READ label)
    Q_PROPERTY(QString XAyatanaLabelGuide READ labelGuide)
    Q_PROPERTY(uint XAyatanaOrderingIndex READ orderingIndex CONSTANT)

public:
    static constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";
    static constexpr const char* watcherPath = "/StatusNotifierWatcher";
    static constexpr const char* objectPath = "/StatusNotifierItem";

    // Why the panel did not take the item.
    using RefusalHandler = std::function<void(const QString& why)>;

    // Publishes `item` on the session bus and registers it with the panel's watcher. A panel
    // that shows the label hears of each new text as a new label, one that shows only the icon
    // as a new tool tip: one message a change. `refused` is called, at most once, when the
    // watcher refuses the item, drops it, or has not listed it a few seconds after.
    StatusNotifierItem(StatusItem& item, bool panelShowsLabel = true, RefusalHandler refused = {});
    ~StatusNotifierItem() override;

    StatusItem& item() const { return item_; }

    // Reads the item's title and menu again; tells the panel when the text changed, once a turn
    // of the event loop, so that a title replaced at once never reaches it.
    void refresh();
    // A point-sized rectangle where the panel was last clicked, or the applet's frame when the
    // click was the applet's; empty before the first click.
    Rect screenFrame() const;
    // The side of the item the popover opens on, when the last click was the applet's.
    std::optional<RectEdge> popoverEdge() const { return clickedEdge_; }

    // Passive while another shows the title (the program's own bar): the tray keeps the icon in its
    // hidden part. It is passive while the applet shows it in any case.
    void setPassive(bool passive);
    bool appletShows() const { return applet_.shows(); }
    // Called when the applet starts or stops showing the item.
    void onAppletChange(std::function<void()> changed) { appletChanged_ = std::move(changed); }

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const;
    // The program's display name.
    QString title() const;
    // Else active: a passive item may be hidden, and an empty title must still be clickable.
    QString status() const;
    int windowId() const { return 0; }
    // The folder of the icon theme that holds the icon beside the program, for a program not
    // installed where the desktop looks for icons; empty when there is none.
    QString iconThemePath() const { return iconThemePath_; }
    // The program's icon by name, for panels that only take icons from a theme; the pixmaps are
    // for the others.
    QString iconName() const { return id(); }
    QList<StatusNotifierPixmap> iconPixmap() const { return pixmaps_; }
    QString noIconName() const { return QString(); }
    QList<StatusNotifierPixmap> noIconPixmap() const { return {}; }
    StatusNotifierToolTip toolTip() const;
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const;
    QString label() const { return label_; }
    QString labelGuide() const { return guide_; }
    uint orderingIndex() const { return 0; }

    // The widest text a title of this shape is likely to take: every digit becomes the zero of
    // its digit set, as the panel only ever sees titles, never the pattern behind them.
    static QString guideFor(const QString& label);
    // The icon theme folder that holds `iconName` beside the program in `programFolder`: in a
    // build folder, or in the share folder of its installation.
    static QString iconThemePathFor(const QString& programFolder, const QString& iconName);

public Q_SLOTS:
    void Activate(int x, int y);
    void ContextMenu(int x, int y);
    void SecondaryActivate(int x, int y);
    void XAyatanaSecondaryActivate(uint timestamp);
    void Scroll(int delta, const QString& orientation);

Q_SIGNALS:
    void XAyatanaNewLabel(const QString& label, const QString& guide);
    void NewToolTip();
    void NewStatus(const QString& status);

private Q_SLOTS:
    void itemUnregistered(const QString& service);

private:
    // A click that the panel reports, at the point it gives (none when it gives none), with the
    // left or right button (the buttons the outside-press monitor sees) or the middle one.
    void click(std::optional<Point> fromHost, bool leftOrRight);
    // Where the click was, by the panel's point or the pointer's place at the press.
    void place(std::optional<Point> fromHost);
    QString currentTitle() const;
    void announceLabel();
    void checkListed();
    // Whether a watcher's name for an item is this one's.
    bool isOurs(const QString& listed) const;
    void refuse(const QString& why);
    void appletChanged();

    StatusItem& item_;
    QString service_;
    QDBusConnection connection_;
    bool panelShowsLabel_;
    RefusalHandler refused_;
    QList<StatusNotifierPixmap> pixmaps_;
    QString iconThemePath_;
    const Menu* exportedMenu_;
    QString label_;
    QString guide_;
    DBusMenuExporter* menuExporter_ = nullptr;
    // Where the item was taken to be at the last click.
    std::optional<Rect> clickedFrame_;
    std::optional<Point> lastFromHost_;
    std::optional<RectEdge> clickedEdge_;
    bool passive_ = false;
    std::function<void()> appletChanged_;
    StatusNotifierApplet applet_;
    NextTurn labelChanged_{[this] { announceLabel(); }};
};

}  // namespace vorelt
