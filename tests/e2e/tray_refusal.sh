#!/usr/bin/env bash
# A panel's tray that takes the clock's item and never shows it: within a few seconds the clock
# is back in its own bar, and says once why; when the panel's host comes back and lists the item,
# the clock moves into its tray again.
source "$(dirname "$0")/lib.sh"

write_store '[General]' "dateFormat=\"'Now' HH:mm\""
start_x
start_bus
start_wm openbox
/usr/bin/python3 "$(dirname "$0")/refusing_watcher.py" >"$work/watcher.log" 2>&1 &
watcher=$!
pids+=("$watcher")
wait_until 10 watcher_up || fail "no watcher: $(cat "$work/watcher.log")"
# A desktop whose trays show text, so that the clock takes this one.
XDG_CURRENT_DESKTOP=GNOME start_clock
registered() { [ "$(grep -c '^registered' "$work/watcher.log")" -eq "$1" ]; }
wait_until 5 registered 1 || fail "the clock did not register its item: $(cat "$work/err")"
bar_pattern='^Now [0-9]{2}:[0-9]{2}$'
find_bar && fail "a bar beside the tray item at once"
started=$SECONDS
wait_for_bar "$bar_pattern"
((SECONDS - started <= 6)) || fail "the bar came after $((SECONDS - started)) s"
[ "$(grep -c . "$work/err")" -eq 1 ] && grep -q "tray.*did not take the clock" "$work/err" ||
    fail "not said once why: $(cat "$work/err")"
shoot tray-refused

kill -USR1 "$watcher"
wait_until 5 registered 2 || fail "the clock did not try the tray again"
gone() { ! find_bar; }
wait_until 5 gone || fail "the bar stayed beside the tray"
sleep 4  # past the time within which a tray must list the item
find_bar && fail "the clock left a tray that listed it"
[ "$(grep -c . "$work/err")" -eq 1 ] || fail "said more than once: $(cat "$work/err")"
stop_clock
