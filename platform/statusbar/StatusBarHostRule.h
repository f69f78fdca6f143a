#pragma once

#include <optional>
#include <string>

namespace vorelt {

// The choice of host from --show-in, the display, the window manager and the D-Bus tray.
// Where the status bar's items show: the one rule, from what can be known while running.
class StatusBarHostRule {
public:
    // ownBarOrApplet: the item in KDE Plasma's tray, where the program's own panel applet shows its
    // title; while no applet does, the own bar shows it too.
    enum class Place { automatic, ownBar, panelTray, ownBarOrApplet, standardOutput, nowhere };

    // What the command line, the environment, the window manager and the session bus say.
    struct Facts {
        // What the command line asked for; automatic when it did not.
        Place requested = Place::automatic;
        // Started with QT_QPA_PLATFORM=offscreen: bar programs do so to read the title from
        // standard output.
        bool offscreenAskedFor = false;
        // A windowing system to show windows on.
        bool display = true;
        // The window manager keeps a dock's strip at the top free (or there is none to move it).
        bool docksKeepTheirStrip = true;
        // A StatusNotifierWatcher with a registered host: a panel tray is there.
        bool trayHasHost = false;
        // The program that owns the watcher, and $XDG_CURRENT_DESKTOP.
        std::string trayOwner;
        std::string currentDesktop;
    };

    static Place place(const Facts& facts);
    // Whether a panel tray appearing or going can change the place.
    static bool followsTray(const Facts& facts);
    // Whether the tray of `owner` shows an item's text label beside its icon. Xfce's systray,
    // waybar's tray and KDE Plasma's show only the icon, with the text in a tooltip.
    static bool trayShowsLabels(const std::string& owner, const std::string& currentDesktop);
    // Whether the tray of `owner` is Plasma 5's, whose items the program's own panel applet reads.
    static bool trayFeedsApplet(const std::string& owner);
    // Whether the items at `place` are published in the panel's tray.
    static bool usesTray(Place place);
    // Whether the clock's text cannot be on the screen at `place`: told once on standard error.
    static bool titleHidden(const Facts& facts, Place place);
    // What to tell the user then.
    static std::string advice(const std::string& program);
    // Whether the bar at `place` lies over other windows, since the window manager keeps no strip
    // for it: told once on standard error, with what follows.
    static bool barOverWindows(const Facts& facts, Place place);
    static std::string noRoomForBar(const std::string& program);
    // The place the command line names "auto", "bar", "tray" or "stdout"; none for another name.
    static std::optional<Place> placeNamed(const std::string& name);
};

}  // namespace vorelt
