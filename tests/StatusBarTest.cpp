#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextLayout>

#include <csignal>
#include <cstdlib>
#include <map>
#include <tuple>

#include "TestSupport.h"
#include "platform/app/Application.h"
#include "platform/statusbar/StatusBar.h"
#include "platform/statusbar/StatusBarWindow.h"
#include "platform/statusbar/StatusItemCells.h"
#include "platform/statusbar/StatusLine.h"
#include "platform/statusbar/tray/StatusNotifierApplet.h"
#include "platform/statusbar/tray/StatusNotifierClickPlace.h"
#include "platform/statusbar/tray/StatusNotifierItem.h"

namespace vorelt {
namespace {

using Place = StatusBarHostRule::Place;
constexpr Place Auto = Place::automatic;
constexpr Place Bar = Place::ownBar;
constexpr Place Tray = Place::panelTray;
constexpr Place Stdout = Place::standardOutput;
constexpr Place Applet = Place::ownBarOrApplet;

TEST(StatusBarHostRule, TrayOnlyWhereLabelsShowElseTheOwnBarOrStandardOutput) {
    struct Case {
        Place requested;
        bool display, strip, host;
        const char *owner, *desktop;
        Place place;
        bool hidden;
    };
    const Case cases[] = {
        {Auto, true, true, true, "gnome-shell", "GNOME", Tray, false},
        {Auto, true, true, true, "notification-area-applet", "MATE", Tray, false},
        // An unknown owner: the desktop decides.
        {Auto, true, true, true, "snwatcher", "ubuntu:GNOME", Tray, false},
        {Auto, true, true, true, "snwatcher", "GNOME-Flashback:Foo", Bar, false},
        // A tray that shows icons only, whatever the desktop says.
        {Auto, true, true, true, "xfce4-panel", "GNOME", Bar, false},
        {Auto, true, true, false, "", "GNOME", Bar, false},
        // No strip for docks: never a window mid-screen; an icon, or nothing and advice.
        {Auto, true, false, true, "waybar", "sway", Tray, true},
        {Auto, true, false, false, "", "sway", Place::nowhere, true},
        // Asked for where docks get no strip (sway, weston): the bar, over other windows.
        {Bar, true, false, true, "waybar", "sway", Bar, false},
        {Bar, true, false, false, "", "weston", Bar, false},
        // The command line wins, but a tray only once there is one.
        {Bar, true, true, true, "gnome-shell", "GNOME", Bar, false},
        {Tray, true, true, true, "xfce4-panel", "XFCE", Tray, false},
        {Tray, true, true, false, "xfce4-panel", "XFCE", Bar, false},
        {Stdout, true, true, true, "gnome-shell", "GNOME", Stdout, false},
        // Without a display only a tray that shows the text beats standard output.
        {Auto, false, true, true, "xfce4-panel", "XFCE", Stdout, false},
        {Bar, false, true, true, "xfce4-panel", "XFCE", Stdout, false},
        {Auto, false, true, true, "gnome-shell", "GNOME", Tray, false},
        // Plasma 5's tray: the item for Vorelt's applet, and the bar while no applet shows it.
        {Auto, true, true, true, "kded5", "KDE", Applet, false},
        {Auto, true, true, true, "plasmashell", "KDE", Applet, false},
        {Auto, true, true, true, "kded6", "KDE", Bar, false},
        {Tray, true, true, true, "kded5", "KDE", Tray, false},
        {Bar, true, true, true, "kded5", "KDE", Bar, false},
        {Auto, true, false, true, "kded5", "KDE", Tray, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.owner) + " on " + c.desktop);
        const StatusBarHostRule::Facts facts{.requested = c.requested,
                                             .display = c.display,
                                             .docksKeepTheirStrip = c.strip,
                                             .trayHasHost = c.host,
                                             .trayOwner = c.owner,
                                             .currentDesktop = c.desktop};
        const Place place = StatusBarHostRule::place(facts);
        EXPECT_EQ(place, c.place);
        EXPECT_EQ(StatusBarHostRule::usesTray(place), place == Tray || place == Applet);
        EXPECT_EQ(StatusBarHostRule::titleHidden(facts, place), c.hidden);
        EXPECT_EQ(StatusBarHostRule::barOverWindows(facts, place), place == Bar && !c.strip);
        // A bar program that started the clock offscreen reads it, whatever else is asked or there.
        StatusBarHostRule::Facts offscreen = facts;
        offscreen.offscreenAskedFor = true;
        EXPECT_EQ(StatusBarHostRule::place(offscreen), Stdout);
        EXPECT_FALSE(StatusBarHostRule::followsTray(offscreen));
    }
}

// A top panel 32 high on the first screen, and one 40 high at the bottom of the second.
TEST(StatusNotifierClickPlace, ThePanelsPointElseThePointerElseTheLastPointElseTheTraysCorner) {
    const std::vector<StatusNotifierClickPlace::Screen> screens{
        {{0, 0, 1280, 800}, {0, 32, 1280, 768}}, {{1280, 0, 1024, 768}, {1280, 0, 1024, 728}}};
    const auto choose = [&screens](std::optional<Point> host, std::optional<Point> pointer,
                                   std::optional<Point> last, bool rtl = false) {
        return StatusNotifierClickPlace::choose(screens, host, pointer, last, rtl);
    };
    const Point onTop{1100, 14}, onBottom{2000, 750}, inAWindow{0, 33}, offScreens{3000, 10};
    EXPECT_EQ(choose(onTop, onBottom, inAWindow), onBottom);
    EXPECT_EQ(choose(onTop, inAWindow, onBottom), onTop);
    // A panel that sends a place in its own window: (0, 14) is on the panel, and wrong.
    EXPECT_EQ(choose(Point{0, 14}, onTop, std::nullopt), onTop);
    // A menu entry gives no point, and on Wayland the pointer over the panel is not seen.
    EXPECT_EQ(choose(std::nullopt, std::nullopt, onBottom), onBottom);
    EXPECT_EQ(choose(offScreens, inAWindow, std::nullopt), (Point{1279, 16}));
    EXPECT_EQ(choose(std::nullopt, std::nullopt, std::nullopt, true), (Point{0, 16}));
    const std::vector<StatusNotifierClickPlace::Screen> bottomPanel{
        {{0, 0, 1280, 800}, {0, 0, 1280, 760}}};
    EXPECT_EQ(StatusNotifierClickPlace::choose(bottomPanel, {}, {}, {}, false), (Point{1279, 780}));
}

// The item spans its panel's strip at the click, so that the popover opens past the panel's edge:
// below a top panel, above a bottom one, beside a side one.
TEST(StatusNotifierClickPlace, TheItemSpansItsPanelsStrip) {
    const std::vector<StatusNotifierClickPlace::Screen> screens{
        {{0, 0, 1600, 900}, {0, 30, 1600, 870}},
        {{1600, 0, 1024, 768}, {1600, 0, 1024, 728}},
        {{0, 900, 800, 600}, {40, 900, 760, 600}}};
    const auto frame = [&screens](Point p) {
        return StatusNotifierClickPlace::itemFrame(screens, p);
    };
    EXPECT_EQ(frame(Point{1582, 15}), (Rect{1582, 0, 1, 30}));
    EXPECT_EQ(frame(Point{2000, 750}), (Rect{2000, 728, 1, 40}));
    EXPECT_EQ(frame(Point{20, 1000}), (Rect{0, 1000, 40, 1}));
    // Not on a panel: the point itself.
    EXPECT_EQ(frame(Point{700, 400}), (Rect{700, 400, 1, 1}));
    EXPECT_EQ(frame(Point{5000, 10}), (Rect{5000, 10, 1, 1}));
}

// The applet's reports: its frame and its panel's edge, the popover opening away from the edge.
TEST(StatusNotifierApplet, ReadsTheAppletsReportsAndLapsesWhenTheyStop) {
    using Report = StatusNotifierApplet::Report;
    const auto parse = [](const char* orientation) {
        return StatusNotifierApplet::parse(orientation);
    };
    EXPECT_EQ(parse("vorelt-applet bottom 10 760 120 40"),
              (Report{{10, 760, 120, 40}, RectEdge::MaxY}));
    EXPECT_EQ(parse("vorelt-applet top 10 0 120 40"), (Report{{10, 0, 120, 40}, RectEdge::MinY}));
    EXPECT_EQ(parse("vorelt-applet left 0 5 44 30"), (Report{{0, 5, 44, 30}, RectEdge::MaxX}));
    EXPECT_EQ(parse("vorelt-applet right 1236 5 44 30"),
              (Report{{1236, 5, 44, 30}, RectEdge::MinX}));
    EXPECT_EQ(parse("vorelt-applet none -5 300 120 40"), (Report{{-5, 300, 120, 40}, {}}));
    for (const char* other :
         {"vertical", "", "vorelt-applet bottom 10 760 120", "vorelt-applet middle 10 760 120 40",
          "vorelt-applet top 1 2 0 40", "vorelt-applet top 1 2 x 40"}) {
        EXPECT_EQ(parse(other), std::nullopt) << other;
    }

    int changes = 0;
    StatusNotifierApplet applet(
        QDBusConnection(QString()), [&changes] { ++changes; }, 100);
    EXPECT_FALSE(applet.hear("vertical", ":1.7"));
    EXPECT_FALSE(applet.shows());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(applet.hear("vorelt-applet bottom 10 760 120 40", ":1.7"));
        test::runEventLoopFor(60);
    }
    EXPECT_TRUE(applet.shows());
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(test::waitFor([&] { return !applet.shows(); }, 1000));
    EXPECT_EQ(changes, 2);
}

// Panels find the icon by name in a theme: beside a program in a build folder, or in the share
// folder of its installation.
TEST(StatusNotifierItem, NamesTheIconThemeBesideTheProgram) {
    const QTemporaryDir root;
    const QString icon = "/hicolor/scalable/apps/io.example.App.svg";
    for (const QString themes : {"/build/icons", "/usr/share/icons"}) {
        QDir().mkpath(QFileInfo(root.path() + themes + icon).path());
        QFile(root.path() + themes + icon).open(QIODevice::WriteOnly);
    }
    QDir().mkpath(root.path() + "/usr/bin");
    const auto path = [&root](const char* program, const char* name) {
        return StatusNotifierItem::iconThemePathFor(root.path() + program, name);
    };
    const QString real = QFileInfo(root.path()).canonicalFilePath();
    EXPECT_EQ(path("/build", "io.example.App"), real + "/build/icons");
    EXPECT_EQ(path("/usr/bin", "io.example.App"), real + "/usr/share/icons");
    EXPECT_EQ(path("/usr/bin", "io.example.Other"), "");
}

std::string drain(int fd) {
    std::string out;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

// A bar of its own whose one item `host` shows.
struct OneItemBar {
    explicit OneItemBar(StatusBarHost* host) {
        bar->setHost(std::unique_ptr<StatusBarHost>(host));
        item = bar->statusItemWithLength(StatusBar::VariableStatusItemLength);
    }
    ~OneItemBar() { bar->detachHost(); }
    // Sets the title and lets the event loop take one turn, as it does between two ticks.
    void show(const std::string& title) {
        item->button()->setTitle(title);
        QCoreApplication::processEvents();
    }
    const std::shared_ptr<StatusBar> bar = std::make_shared<StatusBar>();
    std::shared_ptr<StatusItem> item;
};

// Counts the events of each type that reach the objects it watches.
class EventCounter : public QObject {
public:
    std::map<QEvent::Type, int> counts;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        ++counts[event->type()];
        return false;
    }
};

// Where the item is, a view takes the clicks, even when it has nothing to show.
TEST(StatusBarWindow, AnItemWithAnEmptyTitleKeepsAPlaceToClick) {
    auto* window = new StatusBarWindow;
    OneItemBar one(window);
    one.show("");
    ASSERT_TRUE(test::waitFor([&] { return one.item->frameOnScreen().width > 0; }));
    const Rect frame = one.item->frameOnScreen();
    EXPECT_GE(frame.width, 24);
    const QPoint inside(static_cast<int>(frame.x + frame.width / 2) - window->x(),
                        static_cast<int>(frame.height / 2));
    EXPECT_NE(window->childAt(inside), nullptr);
}

// The bar window costs the desktop once a second: a title change repaints the item alone, and
// anything that leaves the title as it is repaints, lays out and renames nothing.
TEST(StatusBarWindow, RepaintsAndRenamesOnlyForANewTitle) {
    auto* window = new StatusBarWindow;
    OneItemBar one(window);
    one.show("12:00:01");
    auto* view = window->findChild<QWidget*>();
    ASSERT_NE(view, nullptr);
    const int width = view->width();
    EventCounter windowEvents;
    EventCounter viewEvents;
    window->installEventFilter(&windowEvents);
    view->installEventFilter(&viewEvents);
    // Paints of the item, layouts and renames of the window.
    const auto counts = [&] {
        return std::tuple(viewEvents.counts[QEvent::Paint],
                          windowEvents.counts[QEvent::LayoutRequest],
                          windowEvents.counts[QEvent::WindowTitleChange]);
    };
    one.item->setLength(StatusBar::VariableStatusItemLength);  // the item changed, not its title
    QApplication::processEvents();
    EXPECT_EQ(counts(), std::tuple(0, 0, 0));
    one.show("12:00:02");  // same width: no new layout of the bar
    EXPECT_EQ(counts(), std::tuple(1, 0, 1));
    // What a screen reader reads, given when one starts.
    QAccessible::setActive(true);
    EXPECT_EQ(window->accessibleName(), "12:00:02");
    EXPECT_EQ(view->accessibleName(), "12:00:02");

    one.show("Monday 12:00:03");  // wider: the item gets its room
    EXPECT_GT(view->width(), width);
}

// The bar puts a changed title together from images of single characters where it can, and else
// draws it whole: either way the pixels must be those of the whole title, for every kind of
// change a title makes, at whole scales, on a plain or a highlighted background.
TEST(StatusItemCells, EveryChangeShowsThePixelsOfTheWholeTitle) {
    // Slanted digits reach into their neighbours' columns: those are drawn in runs.
    QFont slanted = QApplication::font();
    slanted.setItalic(true);
    const QSize size(141, 22);  // an odd width: the title starts between two pixels
    // Each run starts whole from its first title.
    const std::vector<std::vector<QString>> runs = {
        {"12:59:58", "12:59:59", "13:00:00", "13:00:01", "13:00:01"},
        // Flashing separators, blanked and shown as digits change.
        {"12:59:58", "12 59 59", "12:59:60", "12 59 61", "12 59 62"},
        // Digits beside letters and signs.
        {"d9 x1 f7y 1", "d8 x2 f6y 1", "d8 x2 f6y 2", "-5\u00b0 +3% (4)", "-6\u00b0 +4% (5)"},
        // Another width, and ticking on from it.
        {"9:59:59", "10:00:00", "10:00:01", "9:00:01"},
        // Right to left, with Arabic-Indic digits.
        {"\u0628 13:00:01", "\u0628 13:00:02", "\u0661\u0663:\u0660\u0661",
         "\u0661\u0663:\u0660\u0662"},
        // The tens beside the seconds that tick; then the same digits at the same indices, in
        // other places.
        {"1:00:09", "1:00:10", "1:00:11", "1:00:17", "1:00:18"},
        {"12:00:09", "12:00:10", "12:00:11", "12:00:17", "12:00:18"},
        // Every second beside tens whose ink may reach into the seconds' columns.
        {"12:00:00", "12:00:01", "12:00:02", "12:00:03", "12:00:04", "12:00:05", "12:00:06",
         "12:00:07", "12:00:08", "12:00:09"},
        {"12:00:40", "12:00:41", "12:00:42", "12:00:43", "12:00:44", "12:00:45", "12:00:46",
         "12:00:47", "12:00:48", "12:00:49"},
    };
    int byCells = 0;
    for (const QFont& font : {QApplication::font(), slanted})
        for (const qreal scale : {1.0, 2.0}) {
            for (const bool highlighted : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << "x" << scale << (highlighted ? " highlighted" : "")
                             << (font.italic() ? " slanted" : ""));
                const StatusItemCells::Look look{
                    size, scale, font, Qt::black, QColor(239, 239, 239), highlighted, 16.0};
                const auto background = [&](QPainter& painter) {
                    painter.fillRect(QRect(QPoint(), size), look.background);
                    if (highlighted) {
                        painter.fillRect(QRect(1, 3, size.width() - 2, 16), QColor(0, 0, 0, 40));
                    }
                };
                std::vector<qreal> xs;
                const auto whole = [&](const QString& title) {
                    const auto layout = StatusItemCells::lineOf(
                        title, font, title.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
                    const QTextLine line = layout->lineAt(0);
                    const qreal left = (size.width() - line.horizontalAdvance()) / 2;
                    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_RGB32);
                    image.setDevicePixelRatio(scale);
                    QPainter painter(&image);
                    background(painter);
                    painter.setPen(look.ink);
                    layout->draw(&painter, QPointF(left, look.baseline - line.ascent()));
                    xs.clear();
                    for (int i = 0; i <= title.size(); ++i) {
                        xs.push_back(left + line.cursorToX(i));
                    }
                    return image;
                };
                QImage shown;
                const auto put = [&shown](const QImage& cell, const QPoint& at) {
                    for (int y = 0; y < cell.height(); ++y) {
                        std::copy_n(cell.constScanLine(y), cell.width() * 4,
                                    shown.scanLine(at.y() + y) + at.x() * 4);
                    }
                };
                StatusItemCells cells;
                for (const auto& run : runs) {
                    QString before;
                    for (const QString& title : run) {
                        if (!before.isEmpty() && cells.change(title, put)) {
                            ++byCells;
                            EXPECT_EQ(shown, whole(title))
                                << before.toStdString() << " to " << title.toStdString();
                        } else {
                            shown = whole(title);
                            cells.take(look, background, title, xs);
                        }
                        before = title;
                    }
                }
            }
        }
    // Digits ticking beside digits and separators take cells, at both scales, upright or slanted.
    EXPECT_GE(byCells, 2 * 4 * 10);
}

TEST(StatusLine, RewritesTheLineInPlaceOnATerminal) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
    const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    {
        OneItemBar line(new StatusLine(terminal));
        line.show("10:00");
        line.show("10:01");
    }
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    // The terminal turns the last \n into \r\n.
    EXPECT_EQ(drain(master), "\r10:00\x1b[K\r10:01\x1b[K\r\n");
    ::close(terminal);
    ::close(master);
}

// Each restart of a bar program would otherwise leave one more clock behind, writing into a
// closed socket for ever. A pipe tells at once that its reader has gone: the endings test's.
TEST(StatusLine, WritesTheLastTitleOfATurnOnceAsOneLineUntilItsReaderHasGone) {
    std::signal(SIGPIPE, SIG_IGN);
    int terminations = 0;
    Application::sharedApplication()->setTerminationHandler([&terminations] { ++terminations; });
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    {
        OneItemBar line(new StatusLine(fds[1]));
        // The launch sets a placeholder and the first title in one turn: only the title leaves.
        line.item->button()->setTitle("Time");
        // Line breaks of a hand-edited pattern, which a reader of lines would take for two titles.
        for (const char* title : {"Mon 10:00", "Mon 10:00", "two\nlines", "cr\rlf\r\n", ""}) {
            line.show(title);
        }
        EXPECT_EQ(drain(fds[0]), "Mon 10:00\ntwo lines\ncr lf  \n\n");
        EXPECT_EQ(terminations, 0);
        ::close(fds[0]);
        line.show("not read");
        EXPECT_TRUE(test::waitFor([&] { return terminations >= 1; }, 1000));
    }
    ::close(fds[1]);
    Application::sharedApplication()->setTerminationHandler({});
}

}  // namespace
}  // namespace vorelt
