#!/usr/bin/env bash
# The popover among other windows, under the window manager $2 (openbox, xfwm4): a press goes
# to the window on top, so a press on another program's window closes the popover even where the
# settings window lies beneath it; a press on the empty part of the bar closes it too. From the
# keyboard: it has the focus when it opens, Tab reaches Settings and Quit with the focus shown,
# Escape closes it.
source "$(dirname "$0")/lib.sh"
vorelt=$1
wm=$2

start_x
start_wm "$wm"
start_clock
wait_for_bar '(AM|PM)$'
bar_width=$WIDTH
settings_window() { xdotool search --onlyvisible --name '^Settings$' 2>/dev/null | head -n 1; }
settings_open() { [ -n "$(settings_window)" ]; }
shot() {
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/$1.png"
    cp "$work/$1.png" "$artifacts/popover-focus-$wm-$1.png"
}
differ() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" != 0 ]; }

# The settings window, opened with a click on Settings.
open_popover "for the settings window"
geometry "$popover"
xdotool mousemove $((X + 60)) $((Y + HEIGHT - 26)) click 1
wait_until 5 settings_open || fail "$wm: no settings window"
settings=$(settings_window)
geometry "$settings"
sx=$X sy=$Y sw=$WIDTH sh=$HEIGHT

# Another program's window over the settings window, clear of the popover.
xev -geometry "${sw}x$((sh - 40))+$sx+$((sy + 40))" -name cover >"$work/xev" 2>&1 &
pids+=($!)
cover_open() { xdotool search --onlyvisible --name '^cover$' >/dev/null 2>&1; }
wait_until 5 cover_open || fail "$wm: the covering window did not show"
sleep 0.3
open_popover "over the covered settings window"
presses() { grep -c ButtonPress "$work/xev" || true; }
before=$(presses)
xdotool mousemove $((sx + 20)) $((sy + sh - 20)) click 1
got_press() { [ "$(presses)" -gt "$before" ]; }
wait_until 3 got_press || fail "$wm: the covering window did not get the press"
wait_until 3 popover_closed || fail "$wm: a press on the window on top of the settings window left the popover open"

# The empty part of the bar.
open_popover "before the empty part of the bar"
xdotool mousemove 40 "$item_y" click 1
wait_until 3 popover_closed || fail "$wm: a press on the empty part of the bar left the popover open"

# The keyboard: the popover has the focus when it opens, Escape closes it, Tab from the calendar
# reaches Settings, which space presses.
open_popover "for the keyboard"
wait_until 2 popover_focused || fail "$wm: the popover has no keyboard focus"
xdotool key Escape
wait_until 3 popover_closed || fail "$wm: Escape did not close the popover"
open_popover "again for the keyboard"
wait_until 2 popover_focused || fail "$wm: the popover has no keyboard focus the second time"
before=$(xdotool search --onlyvisible --name '^Settings$' | wc -l)
xdotool key Tab space
another_settings() { [ "$(xdotool search --onlyvisible --name '^Settings$' | wc -l)" -gt "$before" ]; }
wait_until 5 another_settings || fail "$wm: Tab and space did not press Settings"

# The focus shows, on the calendar, then on Settings, then on Quit, which ends the clock.
open_popover "for the focus"
wait_until 2 popover_focused || fail "$wm: the popover has no keyboard focus after other windows"
geometry "$popover"
sleep 0.3
shot calendar
xdotool key Tab
sleep 0.3
shot settings
xdotool key Tab
sleep 0.3
shot quit
import -window root "$artifacts/popover-focus-$wm.png"
differ calendar settings && differ settings quit || fail "$wm: the focus does not show"
xdotool key space
ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_until 5 ended || fail "$wm: space on Quit did not end the clock"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "$wm: exit status $status after Quit"
echo "PASS ($wm)"
