#!/usr/bin/env bash
# The clock on real desktops, each started here from Debian's packages: under openbox its bar is a
# dock, and the popover opens below it out of the window manager's hands; beside an Xfce panel (a
# systray, which shows icons only) it keeps its own bar below the panel, readable on the screen,
# with the popover below it and out of the window manager's list, and with --show-in=tray its icon
# opens the popover by the panel, below it or above it; under a window manager that keeps no strip
# for docks it puts no window up, says so once, and moves to a tray when one appears.
source "$(dirname "$0")/lib.sh"

# No panel may fall back to the system's configuration, whose default panel has a clock.
export XDG_CONFIG_DIRS=$work/xdg
write_store '[General]' "dateFormat=\"'Now' HH:mm\""
# The top of the work area, as the window manager says.
work_area_top() { xprop -root _NET_WORKAREA | sed -E 's/.*= [0-9]+, ([0-9]+),.*/\1/'; }
# Checks that the popover's place passes the arithmetic test $2 and that it stays out of the
# window manager's list, which taskbars show; $1 names the screenshot.
popover_at() {
    geometry "$popover"
    (($2)) || fail "$1: popover at ${WIDTH}x$HEIGHT+$X+$Y, not $2"
    xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$popover")" &&
        fail "$1: popover in the taskbar"
    sleep 0.3
    shoot "desktop-$1"
}

# --- openbox: the dock along the top.
start_x
start_bus
start_wm openbox
start_clock
wait_for_bar '^Now [0-9]{2}:[0-9]{2}$'
xprop -id "$bar" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || fail "the bar is no dock"
# Shells find the desktop entry, its name and icon, for the clock's windows by their class.
class=$(sed -n 's/^StartupWMClass=//p' "$(dirname "$0")/../../resources/desktop/io.github.vorelt.Vorelt.desktop")
xprop -id "$bar" WM_CLASS | grep -q "\"$class\"$" || fail "the class $(xprop -id "$bar" WM_CLASS) is not the entry's"
open_popover "openbox"
xwininfo -id "$popover" | grep -q "Override Redirect State: yes" || fail "openbox may move the popover"
stop_clock openbox

# --- Xfce's panel at the top, whose systray shows icons only: the bar goes below it.
start_panel
panel_height=$(work_area_top)
[ "$panel_height" -ge 20 ] || fail "the panel took no strip: $(xprop -root _NET_WORKAREA)"
# The tray's owner decides before the desktop's name, which would take an unknown tray.
XDG_CURRENT_DESKTOP=GNOME start_clock
wait_for_bar '^Now [0-9]{2}:[0-9]{2}$'
geometry "$bar"
[ "$Y" -eq "$panel_height" ] || fail "xfce: the bar at y=$Y is not below the panel ($panel_height)"
item_y=$((Y + HEIGHT / 2))
open_popover "xfce"
popover_at xfce-panel "Y == panel_height + bar_height"
# The time is on the screen: the bar, below the panel, is a visible window that the time names.
[ "$(visible '^Now [0-9]{2}:[0-9]{2}$')" = "$bar" ] || fail "xfce: the bar is not visible"
stop_clock xfce

# --- Asked into the tray: a click on its icon opens the popover below the panel, and above it once
# the panel is at the bottom. (Which clicks toggle it is the tray's unit tests'.)
start_clock --show-in=tray
wait_until 10 has_tray_item || fail "no item in the tray: $(cat "$work/err")"
find_bar && fail "a bar beside the tray item"
# Clicks the clock's icon, checks the popover's place with the test $2 and closes it again.
tray_popover() {
    find_tray_icon
    open_popover "$1"
    popover_at "$1" "$2"
    sleep 0.6
    click_item
    wait_until 3 popover_closed || fail "$1: a second click on the icon left the popover open"
}
tray_popover xfce-tray "Y >= panel_height"
xfconf-query -c xfce4-panel -p /panels/panel-1/position -s 'p=8;x=0;y=0'
panel_at_bottom() { [ "$(work_area_top)" -eq 0 ]; }
wait_until 10 panel_at_bottom || fail "the panel did not move: $(xprop -root _NET_WORKAREA)"
tray_popover xfce-tray-bottom "Y > 0 && Y + HEIGHT <= 800 - panel_height"
stop_clock tray

# --- A window manager that keeps no strip for docks (as sway's XWayland): no window at all, one
# line of advice, and the tray once it appears. The server keeps what it announces (-noreset).
start_x
start_bus
xprop -root -f _NET_SUPPORTED 32a -set _NET_SUPPORTED _NET_WM_STATE
start_clock
sleep 2
[ -z "$(visible .)" ] || fail "a window on a desktop that keeps no strip"
[ "$(grep -c . "$work/err")" -eq 1 ] && grep -q waybar "$work/err" ||
    fail "no advice, once: $(cat "$work/err")"
start_panel
wait_until 10 has_tray_item || fail "the clock did not move to the tray that appeared"
[ "$(grep -c . "$work/err")" -eq 1 ] || fail "advice repeated: $(cat "$work/err")"
sleep 1  # the systray lays its new icon out
shoot desktop-no-strip
