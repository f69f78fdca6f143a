#include "platform/statusbar/StatusBarHostRule.h"

#include <array>
#include <string_view>

namespace vorelt {

namespace {

bool among(std::string_view word, std::initializer_list<std::string_view> words) {
    for (const std::string_view w : words) {
        if (word == w) {
            return true;
        }
    }
    return false;
}

// XDG_CURRENT_DESKTOP is a colon-separated list, most specific first.
bool desktopIs(std::string_view desktops, std::initializer_list<std::string_view> names) {
    while (!desktops.empty()) {
        const auto colon = desktops.find(':');
        if (among(desktops.substr(0, colon), names)) {
            return true;
        }
        desktops =
            colon == std::string_view::npos ? std::string_view() : desktops.substr(colon + 1);
    }
    return false;
}

constexpr std::array<std::pair<StatusBarHostRule::Place, const char*>, 4> kNames{{
    {StatusBarHostRule::Place::automatic, "auto"},
    {StatusBarHostRule::Place::ownBar, "bar"},
    {StatusBarHostRule::Place::panelTray, "tray"},
    {StatusBarHostRule::Place::standardOutput, "stdout"},
}};

}  // namespace

bool StatusBarHostRule::trayShowsLabels(const std::string& owner,
                                        const std::string& currentDesktop) {
    // GNOME Shell with the AppIndicator extension, the Ayatana (or older Canonical) indicator
    // service behind the indicator applets of Unity, MATE and Xfce, and MATE's notification area.
    if (among(owner, {"gnome-shell", "ayatana-indicator-application-service",
                      "indicator-application-service", "notification-area-applet"})) {
        return true;
    }
    if (among(owner, {"xfce4-panel", "wrapper-2.0", "waybar", "kded5", "kded6", "plasmashell"})) {
        return false;
    }
    return desktopIs(currentDesktop, {"GNOME", "Unity"});
}

// Plasma 5.27's tray watcher lives in kded5, or in plasmashell where kded5 does not run it. The
// applet is written for Plasma 5: Plasma 6 (kded6) changed the applet interface.
bool StatusBarHostRule::trayFeedsApplet(const std::string& owner) {
    return among(owner, {"kded5", "plasmashell"});
}

bool StatusBarHostRule::usesTray(Place place) {
    return place == Place::panelTray || place == Place::ownBarOrApplet;
}

bool StatusBarHostRule::followsTray(const Facts& facts) {
    return facts.requested != Place::standardOutput && !facts.offscreenAskedFor;
}

StatusBarHostRule::Place StatusBarHostRule::place(const Facts& facts) {
    if (!followsTray(facts) || (!facts.display && facts.requested == Place::ownBar)) {
        return Place::standardOutput;
    }
    if (facts.requested == Place::ownBar) {
        return Place::ownBar;
    }
    const bool labels = trayShowsLabels(facts.trayOwner, facts.currentDesktop);
    if (facts.trayHasHost && (labels || facts.requested == Place::panelTray)) {
        return Place::panelTray;
    }
    if (!facts.display) {
        return Place::standardOutput;
    }
    if (facts.docksKeepTheirStrip) {
        return facts.trayHasHost && trayFeedsApplet(facts.trayOwner) ? Place::ownBarOrApplet
                                                                     : Place::ownBar;
    }
    // No room for a bar: an icon with the text in its tooltip still opens the popover.
    return facts.trayHasHost ? Place::panelTray : Place::nowhere;
}

bool StatusBarHostRule::titleHidden(const Facts& facts, Place place) {
    return place == Place::nowhere ||
           (place == Place::panelTray && facts.requested != Place::panelTray &&
            !trayShowsLabels(facts.trayOwner, facts.currentDesktop));
}

std::string StatusBarHostRule::advice(const std::string& program) {
    return program +
           ": this desktop keeps no room for a bar at the top, and has no panel tray that "
           "shows text. To see the clock, use a panel tray that shows labels (GNOME Shell with the "
           "AppIndicator extension, an Ayatana indicator applet), or have your bar run "
           "'env QT_QPA_PLATFORM=offscreen " +
           program +
           "' (a custom module in waybar). The clock moves to such a tray when one appears.";
}

bool StatusBarHostRule::barOverWindows(const Facts& facts, Place place) {
    return place == Place::ownBar && facts.display && !facts.docksKeepTheirStrip;
}

std::string StatusBarHostRule::noRoomForBar(const std::string& program) {
    return program +
           ": the window manager keeps no room for a bar at the top: the clock's bar lies over the "
           "top of other windows.";
}

std::optional<StatusBarHostRule::Place> StatusBarHostRule::placeNamed(const std::string& name) {
    for (const auto& [place, n] : kNames) {
        if (name == n) {
            return place;
        }
    }
    return std::nullopt;
}

}  // namespace vorelt
