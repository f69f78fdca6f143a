#!/usr/bin/env bash
# Without a display the clock writes its title to standard output, one line a change.
source "$(dirname "$0")/lib.sh"
vorelt=$1

write_store '[General]' "dateFormat=\"'line' HH:mm:ss\""
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$vorelt" >"$work/out" 2>"$work/err" &
pid=$!
pids+=($pid)

three_lines() { test "$(grep -c '^line ' "$work/out")" -ge 3; }
wait_until 10 three_lines ||
    fail "fewer than three title lines: $(cat "$work/out") / $(cat "$work/err")"
kill -INT "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after SIGINT"

grep -qx 'Time' "$work/out" && fail "the placeholder left the program: $(head -n 2 "$work/out")"
titles=$(grep '^line ' "$work/out")
grep -Evq '^line [0-9]{2}:[0-9]{2}:[0-9]{2}$' <<<"$titles" && fail "malformed line: $titles"
[ "$(sort -u <<<"$titles" | wc -l)" -eq "$(wc -l <<<"$titles")" ] || fail "a title was repeated"
echo "PASS"
