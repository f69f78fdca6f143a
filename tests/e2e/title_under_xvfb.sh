#!/usr/bin/env bash
# The clock under X: a dock window along the top whose name is the title, ticking every second in
# the stored pattern, and ending cleanly on SIGTERM. A hand edit reaching the running clock is the
# polybar recipe's test; flashing is the unit tests'.
source "$(dirname "$0")/lib.sh"
vorelt=$1

start_x
write_store '[General]' "dateFormat=\"'e2e' HH:mm:ss\""
start_clock
wait_for_bar '^e2e [0-9]{2}:[0-9]{2}:[0-9]{2}$'

first=$(xdotool getwindowname "$bar")
ticked() { test "$(xdotool getwindowname "$bar")" != "$first"; }
wait_until 3 ticked || fail "title did not tick"
echo "title ticks: $first -> $(xdotool getwindowname "$bar")"

props=$(xprop -id "$bar" _NET_WM_WINDOW_TYPE _NET_WM_STRUT_PARTIAL)
grep -q '_NET_WM_WINDOW_TYPE_DOCK' <<<"$props" || fail "not a dock window: $props"
grep -Eq '_NET_WM_STRUT_PARTIAL\(CARDINAL\) = 0, 0, [1-9][0-9]*, 0' <<<"$props" ||
    fail "no strip reserved: $props"
geometry "$bar"
[ "$X" -eq 0 ] && [ "$Y" -eq 0 ] && [ "$WIDTH" -eq 1280 ] && [ "$HEIGHT" -lt 40 ] ||
    fail "bar is not a slim strip along the top: ${WIDTH}x${HEIGHT}+$X+$Y"
import -window root "$artifacts/bar.png"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
grep -q . "$work/out" && fail "unexpected output: $(cat "$work/out")"
echo "PASS"
