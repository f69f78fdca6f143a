#!/usr/bin/env bash
# One clock per display: a second start under the same X server ends at once, quietly and with
# status 0, leaving the first alone; on another X server, or on standard output, a second runs.
source "$(dirname "$0")/lib.sh"
vorelt=$1

start_x
first_display=$DISPLAY
write_store '[General]' "dateFormat=\"'one' HH:mm:ss\""
start_clock
first=$pid
wait_for_bar '^one [0-9]{2}:[0-9]{2}:[0-9]{2}$'

# The same display, also when named with its screen number.
for display in "$first_display" "$first_display.0"; do
    started=$EPOCHREALTIME
    status=0
    DISPLAY=$display timeout 10 "$vorelt" >"$work/out2" 2>"$work/err2" || status=$?
    took=$(awk -v a="$started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }')
    [ "$status" -eq 0 ] || fail "second start on $display ended with status $status"
    awk -v t="$took" 'BEGIN { exit !(t < 3) }' || fail "second start on $display took ${took}s"
    [ ! -s "$work/out2" ] && [ ! -s "$work/err2" ] ||
        fail "second start was not quiet: $(cat "$work/out2" "$work/err2")"
    echo "second start on $display: status 0 after ${took}s"
done
kill -0 "$first" || fail "the first clock is gone"
bars=$(xdotool search --name '^one [0-9]{2}:[0-9]{2}:[0-9]{2}$' | wc -l)
[ "$bars" -eq 1 ] || fail "$bars bars"

# On standard output a clock runs beside the one in the bar.
QT_QPA_PLATFORM=offscreen "$vorelt" >"$work/headless" 2>&1 &
pids+=($!)
headless=$!
has_line() { grep -Eq '^one [0-9]{2}:[0-9]{2}:[0-9]{2}$' "$work/headless"; }
wait_until 5 has_line || fail "no headless clock beside the bar: $(cat "$work/headless")"

# Another X server has a clock of its own.
rm -f "$work/displayfd"
start_x
[ "$DISPLAY" != "$first_display" ] || fail "no second X server"
start_clock
wait_for_bar '^one [0-9]{2}:[0-9]{2}:[0-9]{2}$'
echo "clock on $DISPLAY beside the one on $first_display"
kill -0 "$first" && kill -0 "$headless" || fail "a clock ended"

for p in "$first" "$headless" "$pid"; do
    kill -TERM "$p"
    wait "$p" || fail "a clock did not end cleanly"
done
echo "PASS"
