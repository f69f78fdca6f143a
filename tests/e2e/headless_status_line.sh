#!/usr/bin/env bash
# Without a display the clock writes its title to standard output, one line a change, in the
# pattern of the store as it is edited by hand, and ends when its reader goes; it also runs in odd
# environments: no HOME, a home that cannot be written, a locale or a time zone that does not
# exist, a store holding serialized objects; without XDG_RUNTIME_DIR (a root shell, cron) standard
# error stays empty. The command line: --help ends at once without a display, --version says the
# version, a wrong option is one line and status 2, Qt's options and --show-in=stdout work.
source "$(dirname "$0")/lib.sh"
unset DISPLAY

write_store '[General]' "dateFormat=\"'line' HH:mm:ss\""
start_command env -u QT_QPA_PLATFORM "$vorelt"
three_lines() { test "$(grep -c '^line ' "$work/out")" -ge 3; }
wait_until 10 three_lines || fail "fewer than three title lines: $(cat "$work/out" "$work/err")"
# The last line is the wall clock's second, or the one before while the next is on its way.
last=$(grep '^line ' "$work/out" | tail -n 1)
[ "$last" = "line $(date +%T)" ] || [ "$last" = "line $(date -d '1 second ago' +%T)" ] ||
    fail "the title '$last' is not the time, $(date +%T)"
write_store '[General]' "dateFormat=\"'edit' HH:mm:ss\""
edited() { grep -q '^edit ' "$work/out"; }
wait_until 5 edited || fail "a hand edit of the store did not reach the running clock"
kill -INT "$pid"
wait "$pid" || fail "exit status $? after SIGINT"
grep -Evq '^(line|edit) [0-9]{2}:[0-9]{2}:[0-9]{2}$' "$work/out" && fail "not only titles: $(cat "$work/out")"

# Its reader gone after a line, the clock ends by itself, and successfully: it notices while idle,
# with a minute to go before it writes again.
write_store '[General]' "dateFormat=\"'minute' HH:mm\""
timeout 5 "$vorelt" | head -n 1 >/dev/null || fail "status ${PIPESTATUS[0]} after its reader had gone"
DISPLAY=:4999 "$vorelt" --help | grep -q -- '--show-in=PLACE' || fail "no usage without a display"
"$vorelt" --version | grep -Eq '[0-9]+\.[0-9]+' || fail "no version"
for wrong in --frobnicate --show-in=moon stray; do
    status=0
    "$vorelt" "$wrong" >"$work/wrong.out" 2>"$work/wrong.err" || status=$?
    [ "$status" -eq 2 ] && [ "$(wc -l <"$work/wrong.err")" -eq 1 ] && [ ! -s "$work/wrong.out" ] ||
        fail "$wrong: status $status, stderr: $(cat "$work/wrong.err")"
done
headless_title "$vorelt" -platform offscreen
headless_title "$vorelt" --show-in stdout

mkdir -p "$work/readonly-home"
touch "$work/readonly-home/.config"  # a file where the config folder should be
only=(env -i PATH="$PATH" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR")
for environment in "" "HOME=$work/readonly-home" LANG=xx_YY.UTF-8 TZ=Nowhere/Atlantis; do
    headless_title "${only[@]}" $environment "$vorelt"
    echo "${environment:-no HOME}: $(tail -n 1 "$work/out")"
done
headless_title "${only[@]}" LANG=$'\x01\x7f' TZ=$'\n' "$vorelt"
headless_title env -u XDG_RUNTIME_DIR "$vorelt"
[ ! -s "$work/err" ] || fail "stderr without XDG_RUNTIME_DIR: $(cat "$work/err")"

# A store holding a serialized object, in every escaped form the store fuzzer's seeds hold, is never
# decoded: the clock starts, shows a title and leaves the file as it was. (Other unreadable and
# unwritable stores are the store's unit tests'.)
for seed in "$(dirname "$0")"/../fuzz/corpus/store/serialized-*; do
    cp "$seed" "$XDG_CONFIG_HOME/vorelt/vorelt.conf"
    headless_title "$vorelt"
    cmp -s "$seed" "$XDG_CONFIG_HOME/vorelt/vorelt.conf" || fail "$(basename "$seed"): the store was touched"
done
