#!/usr/bin/env bash
# The settings window as a person uses it: opened from the popover, ticking seconds shows seconds
# in the bar within about a second, a custom pattern typed into the field reaches the bar, and
# closing the window leaves the clock running.
source "$(dirname "$0")/lib.sh"
vorelt=$1

start_x
start_clock
wait_for_bar '(AM|PM)$'
title() { xdotool getwindowname "$bar"; }

open_popover
geometry "$popover"
xdotool mousemove $((X + 60)) $((Y + HEIGHT - 26)) click 1

settings_open() { xdotool search --onlyvisible --name '^Settings$' >/dev/null 2>&1; }
wait_until 5 settings_open || fail "no settings window; output: $(cat "$work/out")"
grep -qx 'Settings selected' "$work/out" || fail "the settings button did not report itself"
popover_open && fail "the popover stayed open"
window=$(xdotool search --onlyvisible --name '^Settings$' | head -n 1)
geometry "$window"
wx=$X wy=$Y
sleep 0.3
import -window root "$artifacts/settings.png"
import -window "$window" "$artifacts/settings-window.png"

# Seconds: the bar follows within a tick.
xdotool mousemove $((wx + 35)) $((wy + 132)) click 1
with_seconds() { title | grep -Eq ':[0-9]{2}:[0-9]{2} (AM|PM)$'; }
wait_until 2 with_seconds || fail "the bar shows no seconds: $(title)"
grep -q '^shouldShowSeconds=true' "$XDG_CONFIG_HOME/vorelt/vorelt.conf" || fail "seconds not saved"

# A custom pattern, typed.
xdotool mousemove $((wx + 35)) $((wy + 231)) click 1
xdotool mousemove $((wx + 188)) $((wy + 259)) click 1
xdotool key ctrl+a BackSpace
xdotool type --delay 20 "'typed' HH.mm.ss"
custom() { title | grep -Eq '^typed [0-9]{2}\.[0-9]{2}\.[0-9]{2}$'; }
wait_until 2 custom || fail "the bar did not follow the typed pattern: $(title)"
sleep 0.2
import -window "$window" "$artifacts/settings-custom.png"

# Closing the window from the keyboard leaves the clock running.
xdotool windowfocus "$window" key ctrl+w
settings_closed() { ! settings_open; }
wait_until 3 settings_closed || fail "the settings window did not close"
before=$(title)
ticked() { [ "$(title)" != "$before" ]; }
wait_until 3 ticked || fail "the clock stopped after the window closed"
kill -0 "$pid" || fail "the clock ended with its settings window"
echo "PASS"
