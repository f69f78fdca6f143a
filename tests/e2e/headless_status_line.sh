#!/usr/bin/env bash
# Without a display the clock writes its title to standard output, one line a change. The command
# line: --help and --version end at once, a wrong option is one line and status 2, Qt's options
# work, and --show-in=stdout means standard output even with a display.
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

# Help and the version need no display: this one cannot be reached.
export DISPLAY=:4999
"$vorelt" --help >"$work/help" || fail "--help failed"
grep -q '^Usage: vorelt' "$work/help" && grep -q -- '--show-in=PLACE' "$work/help" ||
    fail "no usage: $(cat "$work/help")"
"$vorelt" --version | grep -Eqx 'vorelt [0-9]+\.[0-9]+\.[0-9]+' || fail "no version"
unset DISPLAY
for wrong in --frobnicate --show-in=moon stray; do
    status=0
    "$vorelt" "$wrong" >"$work/wrong.out" 2>"$work/wrong.err" || status=$?
    [ "$status" -eq 2 ] && [ "$(wc -l <"$work/wrong.err")" -eq 1 ] && [ ! -s "$work/wrong.out" ] ||
        fail "$wrong: status $status, stderr: $(cat "$work/wrong.err")"
done
echo "wrong option: $(cat "$work/wrong.err")"
headless_title qt-option -- -platform offscreen
headless_title show-in-stdout -- --show-in stdout
echo "PASS"
