#!/usr/bin/env bash
# The popover among other windows, under the window manager $2 (openbox, xfwm4): a press goes to the
# window on top, so a left or right press on another program's window closes the popover even where
# the settings window lies beneath it, and a middle press, scrolling or a key leave it open; a press
# on the empty part of the bar closes it too. From the keyboard: it has the focus when it opens, Tab
# reaches Settings and Quit with the focus shown, Escape closes it. Settings closes it and says so
# on standard output. Without XDG_RUNTIME_DIR (a root shell) standard error stays empty.
source "$(dirname "$0")/lib.sh"
wm=$2

start_x
start_wm "$wm"
XDG_RUNTIME_DIR='' start_clock
wait_for_bar '(AM|PM)$'

# Another program's window over the settings window, clear of the popover.
open_settings
wait_until 3 popover_closed || fail "$wm: Settings left the popover open"
grep -qx 'Settings selected' "$work/out" || fail "$wm: Settings did not report itself"
geometry "$(visible '^Settings$')"
xev -geometry "${WIDTH}x$((HEIGHT - 40))+$X+$((Y + 40))" -name cover >"$work/xev" 2>&1 &
pids+=($!)
wait_until 5 shown '^cover$' || fail "$wm: the covering window did not show"
cover_x=$((X + 20)) cover_y=$((Y + HEIGHT - 20))
presses() { grep -c ButtonPress "$work/xev" || true; }
for button in 2 4 1 3; do
    [ "$button" = 1 ] || popover_open || open_popover "before button $button"
    before=$(presses)
    xdotool mousemove "$cover_x" "$cover_y" click "$button"
    got_press() { [ "$(presses)" -gt "$before" ]; }
    wait_until 3 got_press || fail "$wm: the covering window did not get button $button"
    if [ "$button" = 2 ] || [ "$button" = 4 ]; then
        xdotool key a
        sleep 0.3
        popover_open || fail "$wm: a key, a middle press or scrolling closed the popover"
    else
        wait_until 3 popover_closed || fail "$wm: button $button on the window on top left the popover open"
    fi
done

# The empty part of the bar.
open_popover "before the empty part of the bar"
xdotool mousemove 40 "$item_y" click 1
wait_until 3 popover_closed || fail "$wm: a press on the empty part of the bar left the popover open"

# The keyboard: the popover has the focus when it opens, even at once after Escape closed it, the
# focus shows, on the calendar, then on Settings, then on Quit, and Escape closes it.
open_popover "for the keyboard"
sleep 0.5
xdotool key Escape
click_item
wait_until 2 popover_focused || fail "$wm: the popover has no keyboard focus"
geometry "$popover"
shots=$artifacts/popover-focus-$wm
for key in calendar settings quit; do
    [ "$key" = calendar ] || xdotool key Tab
    sleep 0.3
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$shots-$key.png"
done
differ() { [ "$(compare -metric AE "$shots-$1.png" "$shots-$2.png" null: 2>&1)" != 0 ]; }
differ calendar settings && differ settings quit || fail "$wm: the focus does not show"
xdotool key Escape
wait_until 3 popover_closed || fail "$wm: Escape did not close the popover"

# Opened again, it has the focus again; Tab reaches Quit, which space presses: the clock ends.
open_popover "for Quit"
wait_until 2 popover_focused || fail "$wm: the popover has no keyboard focus the second time"
xdotool key Tab Tab space
wait_until 5 ended || fail "$wm: space on Quit did not end the clock"
wait "$pid" || fail "$wm: exit status $? after Quit"
[ ! -s "$work/err" ] || fail "$wm: stderr without XDG_RUNTIME_DIR: $(cat "$work/err")"
