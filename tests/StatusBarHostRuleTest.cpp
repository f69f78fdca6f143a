#include <gtest/gtest.h>

#include "platform/app/CommandLine.h"
#include "platform/statusbar/StatusBarHostRule.h"

namespace vorelt {
namespace {

using Place = StatusBarHostRule::Place;
constexpr Place Auto = Place::automatic;
constexpr Place Bar = Place::ownBar;
constexpr Place Tray = Place::panelTray;
constexpr Place Stdout = Place::standardOutput;

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
        {Auto, true, true, true, "ayatana-indicator-application-service", "MATE", Tray, false},
        // An unknown owner: the desktop decides.
        {Auto, true, true, true, "snwatcher", "ubuntu:GNOME", Tray, false},
        {Auto, true, true, true, "snwatcher", "GNOME-Flashback:Foo", Bar, false},
        // Trays that show icons only, whatever the desktop says.
        {Auto, true, true, true, "xfce4-panel", "GNOME", Bar, false},
        {Auto, true, true, true, "wrapper-2.0", "GNOME", Bar, false},
        {Auto, true, true, true, "waybar", "GNOME", Bar, false},
        {Auto, true, true, true, "kded6", "GNOME", Bar, false},
        {Auto, true, true, true, "plasmashell", "KDE", Bar, false},
        {Auto, true, true, false, "", "GNOME", Bar, false},
        // No strip for docks: never a window mid-screen; an icon, or nothing and advice.
        {Auto, true, false, true, "waybar", "sway", Tray, true},
        {Auto, true, false, false, "", "sway", Place::nowhere, true},
        // The command line wins, but a tray only once there is one.
        {Bar, true, true, true, "gnome-shell", "GNOME", Bar, false},
        {Tray, true, true, true, "xfce4-panel", "XFCE", Tray, false},
        {Tray, true, true, false, "xfce4-panel", "XFCE", Bar, false},
        {Stdout, true, true, true, "gnome-shell", "GNOME", Stdout, false},
        // Without a display only a tray that shows the text beats standard output.
        {Auto, false, true, true, "xfce4-panel", "XFCE", Stdout, false},
        {Bar, false, true, true, "xfce4-panel", "XFCE", Stdout, false},
        {Auto, false, true, true, "gnome-shell", "GNOME", Tray, false},
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
        EXPECT_EQ(StatusBarHostRule::titleHidden(facts, place), c.hidden);
    }
    // A bar program that started the clock offscreen reads it, whatever else is asked or there.
    const StatusBarHostRule::Facts offscreen{.requested = Tray,
                                             .offscreenAskedFor = true,
                                             .display = false,
                                             .trayHasHost = true,
                                             .trayOwner = "gnome-shell",
                                             .currentDesktop = "GNOME"};
    EXPECT_EQ(StatusBarHostRule::place(offscreen), Place::standardOutput);
    EXPECT_FALSE(StatusBarHostRule::followsTray(offscreen));
}

// Each fault, --help, --version and the two-word form are the headless test's.
TEST(CommandLine, TakesTheShortHelpAndWantsAPlace) {
    EXPECT_TRUE(CommandLine({"-h"}).helpAsked());
    EXPECT_FALSE(CommandLine({"--show-in"}).error().empty());
}

}  // namespace
}  // namespace vorelt
