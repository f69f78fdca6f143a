#!/usr/bin/env bash
# The clock on real desktops, each started here from Debian's packages: under openbox its bar is a
# dock along the top, its strip taken off the work area, and the popover opens below it out of the
# window manager's hands; beside an Xfce panel (a tasklist and a systray, which shows icons only)
# it keeps its own bar below the panel, readable on the screen, with the popover below it and out
# of the tasklist, and with --show-in=tray its icon opens the popover by the panel, below it or
# above it; under a window manager that keeps no strip for docks it puts no window up, says so
# once, and moves to a tray when one appears.
source "$(dirname "$0")/lib.sh"
vorelt=$1

# No panel may fall back to the system's configuration, whose default panel has a clock.
export XDG_CONFIG_DIRS=$work/xdg NO_AT_BRIDGE=1 GTK_A11Y=none
mkdir -p "$XDG_CONFIG_DIRS"
write_store '[General]' "dateFormat=\"'Now' HH:mm\""
has_tray_item() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null | grep -q 'StatusNotifierItem-'
}
# The top of the work area, as the window manager says.
work_area_top() { xprop -root _NET_WORKAREA | sed -E 's/.*= [0-9]+, ([0-9]+),.*/\1/'; }
# Checks that the popover's place passes the arithmetic test $2 and that it stays out of the
# tasklist; $1 names the screenshot.
popover_at() {
    geometry "$popover"
    (($2)) || fail "$1: popover at ${WIDTH}x$HEIGHT+$X+$Y, not $2"
    xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$popover")" &&
        fail "$1: popover in the tasklist"
    sleep 0.3
    shoot "desktop-$1"
}

# An Xfce panel along the top with a tasklist and its systray: no clock.
start_panel() {
    local dir=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml
    mkdir -p "$dir"
    cat >"$dir/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="size" type="uint" value="28"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="3"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="tasklist"/>
    <property name="plugin-3" type="string" value="systray"/>
  </property>
</channel>
XML
    xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 &
    pids+=($!)
    watcher_up() { gdbus introspect --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher >/dev/null 2>&1; }
    wait_until 20 watcher_up || fail "the panel's tray did not start: $(cat "$work/panel.log")"
}

# --- openbox: the dock along the top, its strip taken off the work area.
start_x
start_bus
start_wm openbox
start_clock
wait_for_bar '^Now [0-9]{2}:[0-9]{2}$'
xprop -id "$bar" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DOCK || fail "the bar is no dock"
strip_taken() { [ "$(work_area_top)" -eq "$bar_height" ]; }
wait_until 5 strip_taken || fail "openbox: work area $(xprop -root _NET_WORKAREA), bar $bar_height"
open_popover "openbox"
xwininfo -id "$popover" | grep -q "Override Redirect State: yes" || fail "openbox may move the popover"
xprop -id "$popover" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the popover is in the taskbar"
popover_at openbox "Y == bar_height"
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
has_tray_item && fail "xfce: the clock went into a tray that hides its text"
open_popover "xfce"
popover_at xfce-panel "Y == panel_height + bar_height"
# The time must be readable on the screen: read the top strip as a person would.
before=$(xdotool getwindowname "$bar")
xdotool mousemove 600 400
sleep 0.2
import -window root -crop "400x${bar_height}+880+$panel_height" +repage -resize 300% "$work/top.png"
cp "$work/top.png" "$artifacts/desktop-xfce-ocr.png"
read_on_screen=$(tesseract "$work/top.png" - --psm 7 2>/dev/null | tr -s ' \n' ' ')
after=$(xdotool getwindowname "$bar")
echo "xfce: the screen reads '$read_on_screen', the bar is named '$after'"
grep -Fq -e "${before#Now }" -e "${after#Now }" <<<"$read_on_screen" || fail "xfce: the time is not readable"
stop_clock xfce

# --- Asked into the tray: a click on its icon opens the popover below the panel, and above it once
# the panel is at the bottom. (Which clicks toggle it is the tray's unit tests'.)
start_clock --show-in=tray
wait_until 10 has_tray_item || fail "no item in the tray: $(cat "$work/err")"
find_bar && fail "a bar beside the tray item"
# Clicks the clock's icon, the last of the systray, the panel's last plugin; checks the popover's
# place with the test $2 and closes it again.
tray_popover() {
    sleep 1  # the systray lays its icons out
    local systray
    systray=$(xdotool search --name '^wrapper-2.0$' 2>/dev/null | while read -r w; do
        geometry "$w"
        [ "$Y" -ge 0 ] && [ "$WIDTH" -gt 10 ] && echo "$X $w"
    done | sort -n | tail -n 1 | cut -d' ' -f2)
    [ -n "$systray" ] || fail "no systray window"
    geometry "$systray"
    item_x=$((X + WIDTH - 14)) item_y=$((Y + HEIGHT / 2))
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
echo "PASS"
