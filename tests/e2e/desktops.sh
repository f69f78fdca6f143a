#!/usr/bin/env bash
# The clock on real desktops, each started here from Debian's packages: under openbox its bar is a
# dock along the top; beside an Xfce panel (a tasklist and a systray, which shows icons only) it
# keeps its own bar below the panel, readable on the screen, and with --show-in=tray each click on
# its tray icon toggles a popover that opens by the panel, below it or above it, and stays out of
# the tasklist; under
# a window manager that keeps no strip for docks it puts no window up, says so once, and moves to
# a tray when one appears.
source "$(dirname "$0")/lib.sh"
vorelt=$1

# No panel may fall back to the system's configuration, whose default panel has a clock.
export XDG_CONFIG_DIRS=$work/xdg NO_AT_BRIDGE=1 GTK_A11Y=none
mkdir -p "$XDG_CONFIG_DIRS"
write_store '[General]' "dateFormat=\"'Now' HH:mm\""

# A session bus of its own: the panel's tray and its settings service are found there.
start_bus() {
    local fifo=$work/busfd
    rm -f "$fifo"
    mkfifo "$fifo"
    dbus-daemon --session --nofork --print-address=3 3>"$fifo" >/dev/null 2>&1 &
    pids+=($!)
    read -r -t 10 DBUS_SESSION_BUS_ADDRESS <"$fifo" || fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS
}
bus_has() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.ListNames |
        grep -q "\"$1\""
}
tray_items() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null | grep -c 'StatusNotifierItem-' || true
}
has_tray_item() { [ "$(tray_items)" -ge 1 ]; }

start_wm() {
    XDG_CONFIG_DIRS=/etc/xdg openbox >"$work/openbox.log" 2>&1 &
    pids+=($!)
    wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
    wait_until 20 wm_up || fail "openbox did not start: $(cat "$work/openbox.log")"
}

# An Xfce panel along the top with a tasklist, a spacer and its systray: no clock.
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
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="28"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
        <value type="int" value="3"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="tasklist"/>
    <property name="plugin-2" type="string" value="separator">
      <property name="expand" type="bool" value="true"/>
      <property name="style" type="uint" value="0"/>
    </property>
    <property name="plugin-3" type="string" value="systray"/>
  </property>
</channel>
XML
    xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 &
    panel_pid=$!
    pids+=("$panel_pid")
    watcher_up() { bus_has org.kde.StatusNotifierWatcher; }
    wait_until 20 watcher_up || fail "the panel's tray did not start: $(cat "$work/panel.log")"
}

# The top of the work area, as the window manager says.
work_area_top() { xprop -root _NET_WORKAREA | sed -E 's/.*= [0-9]+, ([0-9]+),.*/\1/'; }

# --- openbox: the dock along the top, its strip taken off the work area.
start_x
start_bus
start_wm
start_clock
wait_for_bar '^Now [0-9]{2}:[0-9]{2}$'
geometry "$bar"
[ "$Y" -eq 0 ] || fail "openbox: the bar is not at the top: y=$Y"
strip_taken() { [ "$(work_area_top)" -eq "$bar_height" ]; }
wait_until 5 strip_taken || fail "openbox: work area $(xprop -root _NET_WORKAREA), bar $bar_height"
open_popover "openbox"
grep -q "Override Redirect State: yes" <<<"$(xwininfo -id "$popover")" ||
    fail "the window manager may move the popover"
xprop -id "$popover" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the popover is in the taskbar"
geometry "$popover"
[ "$Y" -eq "$bar_height" ] || fail "openbox: popover at y=$Y under a bar of $bar_height"
import -window root "$artifacts/desktop-openbox.png"
click_item
wait_until 3 popover_closed || fail "openbox: the second click did not close the popover"
kill "$pid"
wait "$pid" 2>/dev/null || true

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
[ "$(tray_items)" -eq 0 ] || fail "xfce: the clock went into a tray that hides its text"
open_popover "xfce"
geometry "$popover"
[ "$Y" -eq $((panel_height + bar_height)) ] || fail "xfce: popover at y=$Y"
xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$popover")" && fail "popover in the tasklist"
sleep 0.3
import -window root "$artifacts/desktop-xfce-panel.png"
click_item
wait_until 3 popover_closed || { import -window root "$artifacts/desktop-xfce-stuck.png"; fail "xfce: the second click did not close the popover"; }
# The time must be readable on the screen: read the top strip as a person would.
shown=$(xdotool getwindowname "$bar")
xdotool mousemove 600 400
sleep 0.2
import -window root -crop "400x${bar_height}+880+$panel_height" +repage -resize 300% "$work/top.png"
cp "$work/top.png" "$artifacts/desktop-xfce-ocr.png"
tesseract "$work/top.png" - --psm 7 2>/dev/null | tr -s ' \n' ' ' >"$work/top.txt"
now=$(xdotool getwindowname "$bar")
echo "xfce: the screen reads '$(cat "$work/top.txt")', the bar is named '$shown'"
grep -Fq "${shown#Now }" "$work/top.txt" || grep -Fq "${now#Now }" "$work/top.txt" ||
    fail "xfce: the time is not readable on the screen"
kill "$pid"
wait "$pid" 2>/dev/null || true

# --- Asked into the tray: every click on the icon toggles the popover, below the panel.
"$vorelt" --show-in=tray >"$work/tray.out" 2>"$work/tray.err" &
pid=$!
pids+=("$pid")
wait_until 10 has_tray_item || fail "no item in the tray: $(cat "$work/tray.err")"
find_bar && fail "a bar beside the tray item"
sleep 1  # the systray lays its new icon out
# The systray's window is the last of the panel's plugins, at the right end; the clock's icon is
# its last.
find_tray_icon() {
    local systray
    systray=$(xdotool search --name '^wrapper-2.0$' 2>/dev/null | while read -r w; do
        geometry "$w"
        [ "$Y" -ge 0 ] && [ "$WIDTH" -gt 10 ] && echo "$X $w"
    done | sort -n | tail -n 1 | cut -d' ' -f2)
    [ -n "$systray" ] || fail "no systray window"
    geometry "$systray"
    item_x=$((X + WIDTH - 14)) item_y=$((Y + HEIGHT / 2))
}
find_tray_icon
for click in 1 2 3 4; do
    click_item
    if [ $((click % 2)) -eq 1 ]; then
        wait_until 3 popover_open || fail "tray click $click did not open the popover"
        popover=$(xdotool search --onlyvisible --name '^Popover$' | head -n 1)
        geometry "$popover"
        [ "$Y" -ge "$panel_height" ] || fail "the popover covers the panel: y=$Y"
        [ "$click" -eq 1 ] && sleep 0.3 && import -window root "$artifacts/desktop-xfce-tray.png"
    else
        wait_until 3 popover_closed || fail "tray click $click did not close the popover"
    fi
    sleep 0.6
done
# The panel moved to the bottom: the popover opens above it.
xfconf-query -c xfce4-panel -p /panels/panel-1/position -s 'p=8;x=0;y=0'
panel_at_bottom() { [ "$(work_area_top)" -eq 0 ]; }
wait_until 10 panel_at_bottom || fail "the panel did not move: $(xprop -root _NET_WORKAREA)"
sleep 1
find_tray_icon
open_popover "tray at the bottom"
geometry "$popover"
[ $((Y + HEIGHT)) -le $((800 - panel_height)) ] && [ "$Y" -gt 0 ] ||
    fail "the popover covers the bottom panel: ${HEIGHT} high at y=$Y"
sleep 0.3
import -window root "$artifacts/desktop-xfce-tray-bottom.png"
kill "$pid"
wait "$pid" 2>/dev/null || true

# --- A window manager that keeps no strip for docks (as sway's XWayland): no window at all, one
# line of advice, and the tray once it appears.
start_x
start_bus
# What such a manager announces, and nothing of struts (xprop cannot write a list of atoms). It
# stays connected, as a manager does: the server would forget it all when its last client left.
python3 - <<'PY' &
import ctypes
import signal
import time
from ctypes import c_char_p, c_int, c_ulong, c_void_p
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = c_void_p
x.XOpenDisplay.argtypes = [c_char_p]
x.XDefaultRootWindow.restype = c_ulong
x.XDefaultRootWindow.argtypes = [c_void_p]
x.XInternAtom.restype = c_ulong
x.XInternAtom.argtypes = [c_void_p, c_char_p, c_int]
x.XChangeProperty.argtypes = [c_void_p, c_ulong, c_ulong, c_ulong, c_int, c_int, c_void_p, c_int]
x.XFlush.argtypes = [c_void_p]
d = None
while not d:  # the server refuses connections while it resets after its last client left
    d = x.XOpenDisplay(None)
    time.sleep(0.05)
names = [b"_NET_WM_STATE", b"_NET_ACTIVE_WINDOW", b"_NET_CLIENT_LIST"]
atoms = (c_ulong * len(names))(*[x.XInternAtom(d, n, 0) for n in names])
XA_ATOM = 4
x.XChangeProperty(d, x.XDefaultRootWindow(d), x.XInternAtom(d, b"_NET_SUPPORTED", 0), XA_ATOM, 32,
                  0, atoms, len(names))
x.XFlush(d)
signal.pause()
PY
pids+=($!)
announced() { xprop -root _NET_SUPPORTED | grep -q _NET_WM_STATE; }
wait_until 5 announced || fail "could not announce a manager"
start_clock
sleep 2
mapped=$(xdotool search --onlyvisible --name . 2>/dev/null | wc -l || true)
[ "$mapped" -eq 0 ] || fail "a window on a desktop that keeps no strip: $mapped"
[ "$(grep -c . "$work/err")" -eq 1 ] || fail "advice expected once: $(cat "$work/err")"
grep -q "waybar" "$work/err" || fail "no advice: $(cat "$work/err")"
start_panel
wait_until 10 has_tray_item || fail "the clock did not move to the tray that appeared"
[ "$(grep -c . "$work/err")" -eq 1 ] || fail "advice repeated: $(cat "$work/err")"
sleep 1  # the systray lays its new icon out
import -window root "$artifacts/desktop-no-strip.png"
echo "PASS"
