#!/usr/bin/env bash
# The popover as a person uses it: a click on the clock opens it below the clock; clicks inside it
# and middle clicks, scrolling and keys elsewhere leave it open; a left or right click on another
# program closes it and still reaches that program; Quit ends the clock.
source "$(dirname "$0")/lib.sh"
vorelt=$1

start_x
write_store '[General]' "dateFormat=\"'e2e' HH:mm:ss\""
# The other program: xev reports every press it receives.
xev -geometry 400x300+100+200 -name other >"$work/xev" 2>&1 &
pids+=($!)
start_clock
wait_for_bar '^e2e [0-9:]{8}$'
other_window() { xdotool search --name '^other$' 2>/dev/null | head -n 1; }
has_other() { test -n "$(other_window)"; }
wait_until 10 has_other || fail "xev did not start"
presses() { grep -c "ButtonPress" "$work/xev" || true; }
press_on_other() {  # button
    local before
    before=$(presses)
    xdotool mousemove 300 350 click "$1"
    got_press() { [ "$(presses)" -gt "$before" ]; }
    wait_until 3 got_press || fail "the other program did not get button $1"
}

open_popover "first click"
geometry "$popover"
echo "popover at ${WIDTH}x${HEIGHT}+$X+$Y"
[ "$Y" -ge $((bar_height - 2)) ] && [ "$Y" -le $((bar_height + 4)) ] || fail "popover not below the bar: y=$Y"
[ $((X + WIDTH)) -le 1280 ] && [ "$X" -le "$item_x" ] && [ $((X + WIDTH)) -ge "$item_x" ] ||
    fail "popover not under the item: x=$X width=$WIDTH item=$item_x"
sleep 0.3
import -window root "$artifacts/popover-open.png"
px=$X py=$Y pw=$WIDTH ph=$HEIGHT

# Inside the popover: on the calendar.
xdotool mousemove $((px + pw / 2)) $((py + ph / 2)) click 1
sleep 0.3
popover_open || fail "a click inside closed the popover"

# Middle click, scrolling and a key on the other program leave it open.
press_on_other 2
press_on_other 4
xdotool mousemove 300 350 key a
sleep 0.3
popover_open || fail "a middle click, scroll or key closed the popover"

# A second click on the clock closes it.
click_item
wait_until 3 popover_closed || fail "second click on the clock did not close it"

for button in 1 3; do
    open_popover "before button $button"
    press_on_other "$button"
    wait_until 3 popover_closed || fail "button $button on the other program did not close it"
done

# Quit, at the bottom right of the popover.
open_popover "before quit"
xdotool mousemove $((px + pw - 40)) $((py + ph - 26)) click 1
ended() { ! kill -0 "$pid" 2>/dev/null; }
wait_until 5 ended || { import -window root "$artifacts/popover-quit-missed.png"; fail "Quit did not end the clock"; }
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after Quit"
echo "PASS"
