#!/usr/bin/env bash
# The clock in KDE Plasma's own panel, through Vorelt's applet: Plasma's shell with one panel, at
# the bottom, that holds only the applet and the system tray, kded5's tray watcher and openbox, on
# a bus, a home and settings of the test's own. Plasma's package tool installs the applet. The
# time is read off the panel twice and ticks; the clock puts up no bar of its own and its tray icon
# is passive; a click on the applet opens the popover above it and the next one closes it, and
# with the panel moved to the left the popover opens beside it. Without the applet the clock's bar
# comes back; an applet with no clock says so, and its button starts the clock.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/indicator_lib.sh"
applet=io.github.vorelt.Vorelt
applet_dir=$(cd "$(dirname "$0")/../../resources/plasma/$applet" && pwd)
label_pattern='Now [0-9]{2}:[0-9]{2}:[0-9]{2}'

start_x
start_bus
# Plasma writes caches and a Desktop folder into the home; the applet starts the clock by name.
host_environment HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" \
    PATH="$(cd "$(dirname "$vorelt")" && pwd):$PATH"
mkdir -p "$HOME"
start_wm openbox

kpackagetool5 -t Plasma/Applet -i "$applet_dir" >"$work/kpackage.log" 2>&1 ||
    fail "kpackagetool5 refuses the applet: $(cat "$work/kpackage.log")"
package_info=$(kpackagetool5 -t Plasma/Applet -s "$applet" 2>&1)
grep -Eq "Name : Vorelt$" <<<"$package_info" ||
    fail "kpackagetool5 does not know the applet: $package_info"
[ -s "$XDG_DATA_HOME/plasma/plasmoids/$applet/contents/ui/main.qml" ] || fail "no applet installed"

# Outside a Plasma session kded5 loads no tray watcher by itself.
kded5 >"$work/kded.log" 2>&1 &
pids+=($!)
kded_up() {
    dbus-send --session --print-reply --dest=org.kde.kded5 /kded \
        org.kde.kded5.loadModule string:statusnotifierwatcher 2>/dev/null | grep -q 'boolean true'
}
wait_until 20 kded_up || fail "kded5 loads no watcher: $(cat "$work/kded.log")"

write_store '[General]' "dateFormat=\"'Now' HH:mm:ss\""
start_clock
wait_for_bar '^Now '

# The panel and the tray's own containment, nothing else: no clock of Plasma's. Update scripts are
# taken as done, the clock's among them.
notification_area=$(grep -l '"X-Plasma-NotificationArea": "true"' \
    /usr/share/plasma/plasmoids/*/metadata.json | xargs -n 1 dirname | xargs -n 1 basename |
    paste -sd,)
cat >"$XDG_CONFIG_HOME/plasma-org.kde.plasma.desktop-appletsrc" <<INI
[Containments][2]
formfactor=2
location=4
lastScreen=0
plugin=org.kde.panel

[Containments][2][Applets][3]
plugin=$applet

[Containments][2][Applets][4]
plugin=org.kde.plasma.systemtray

[Containments][2][Applets][4][Configuration]
SystrayContainmentId=5

[Containments][2][General]
AppletOrder=3;4

[Containments][5]
formfactor=2
location=4
lastScreen=0
plugin=org.kde.plasma.private.systemtray

[Containments][5][General]
extraItems=
knownItems=$notification_area
INI
# A panel as thick as Plasma's default one.
printf '[PlasmaViews][Panel 2][Defaults]\nthickness=44\n[Updates]\nperformed=%s\n' \
    "$(ls -d /usr/share/plasma/shells/org.kde.plasma.desktop/contents/updates/*.js | paste -sd,)" \
    >"$XDG_CONFIG_HOME/plasmashellrc"
plasmashell --no-respawn >"$work/plasmashell.log" 2>&1 &
plasmashell_pid=$!
pids+=("$plasmashell_pid")

# Sets panel_x, panel_y, panel_w and panel_h to the panel, along the screen's edge $1.
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
find_panel() {
    local w
    for w in $(xdotool search --onlyvisible --class '^plasmashell$' 2>/dev/null); do
        geometry "$w"
        case $1 in
            bottom) ((WIDTH == screen_w && Y > screen_h / 2)) ;;
            left) ((HEIGHT == screen_h && X == 0 && WIDTH < 100)) ;;
        esac && { panel_x=$X panel_y=$Y panel_w=$WIDTH panel_h=$HEIGHT; return 0; }
    done
    return 1
}
# Prints the applet's text that matches $1, read from the panel's left part.
applet_text() { find_panel bottom && ocr_region 0 "$panel_y" 400 "$panel_h" | grep -oE "$1"; }
# Sets item_x, item_y to the middle of the applet's words that match $1.
find_in_applet() { find_panel bottom && find_text "$1" 0 "$panel_y" 400 "$panel_h"; }
on_panel() { applet_text "$label_pattern" >/dev/null; }
wait_until 40 on_panel || fail "no time on the panel: $(tail -n 20 "$work/plasmashell.log")"
first=$(applet_text "$label_pattern")
sleep 2
second=$(applet_text "$label_pattern")
[ "$first" != "$second" ] || fail "the time on the panel does not tick: '$first', then '$second'"
bar_gone() { ! find_bar; }
wait_until 5 bar_gone || fail "a bar of its own beside the applet"

# The tray's item, from the watcher; sets `item_service`.
tray_item() {
    item_service=$(dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher \
        /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
        string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems |
        grep -oE '"[^"/]+/StatusNotifierItem"' | head -n 1 | tr -d '"')
    item_service=${item_service%/StatusNotifierItem}
    [ -n "$item_service" ]
}
tray_item || fail "no item in the tray"
dbus-send --session --print-reply --dest="$item_service" /StatusNotifierItem \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierItem string:Status |
    grep -q '"Passive"' || fail "the tray's icon is not passive"

# A click on the applet opens the popover next to it, the arrow at the panel's edge: above a
# bottom panel, beside a left one. The picture holds the popover and the panel's part by the
# applet, from the screen's left or bottom edge; $1 names it, $2 is the test of its place.
popover_by_applet() {
    wait_until 3 popover_open || fail "$1: a click on the applet did not open the popover"
    popover=$(visible '^Popover$')
    geometry "$popover"
    (($2)) || fail "$1: the popover at ${WIDTH}x$HEIGHT+$X+$Y is not by the applet at $item_x,$item_y"
    sleep 0.3
    local top=$((Y > 20 ? Y - 20 : 0)) bottom=$((Y + HEIGHT + 20))
    [ "$1" = left ] || bottom=$screen_h
    import -window root -crop "$((X + WIDTH + 20))x$((bottom - top))+0+$top" +repage \
        "$artifacts/plasma-applet-$1.png"
    sleep 0.6  # no double click
    click_item
    wait_until 3 popover_closed || fail "$1: a second click left the popover open"
}
find_in_applet "$label_pattern" || fail "the time is not found again"
click_item
popover_by_applet bottom "Y + HEIGHT >= panel_y - 2 && Y + HEIGHT <= panel_y + 2 && X < item_x && item_x < X + WIDTH"

plasma_script() {
    dbus-send --session --print-reply --dest=org.kde.plasmashell /PlasmaShell \
        org.kde.PlasmaShell.evaluateScript "string:$1" >/dev/null || fail "plasmashell: $1"
}
plasma_script 'panelById(2).location = "left"'
wait_until 10 find_panel left || fail "the panel did not move to the left"
# The applet is the panel's first item, at its top.
item_x=$((panel_w / 2)) item_y=12
sleep 1  # the panel lays its applets out along the side
click_item
popover_by_applet left "X >= panel_w - 2 && X <= panel_w + 2 && Y < item_y && item_y < Y + HEIGHT"

# The applet taken out of the panel: the bar comes back once its reports have stopped.
plasma_script 'panelById(2).location = "bottom"; panelById(2).widgets("'"$applet"'")[0].remove()'
wait_until 10 find_bar || fail "no bar with the applet gone"
stop_clock

# An applet with no clock says so; its button starts the clock, which the applet shows.
plasma_script 'panelById(2).addWidget("'"$applet"'")'
wait_until 15 applet_text 'not running' >/dev/null || fail "the applet does not say the clock is not running"
find_in_applet '^Start' || fail "no button to start the clock"
click_item
wait_until 10 on_panel || fail "the applet's button did not start the clock"
wait_until 5 tray_item || fail "no item of the clock started"
pid=$(bus_owner_pid "$item_service")
pids+=("$pid")
kill -TERM "$pid"
wait_until 5 ended || fail "the clock that the applet started did not end"
