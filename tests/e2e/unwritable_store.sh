#!/usr/bin/env bash
# Stores the clock cannot use. A serialized object, in every escaped form the store fuzzer's seeds
# hold, is never decoded: the clock starts, shows a title and leaves the file as it was. On a full
# disk and in a read-only config folder a change made in the settings window still shows in the
# bar. Other unreadable files are the store's unit tests' and the store fuzzer's.
source "$(dirname "$0")/lib.sh"
vorelt=$1
store=$XDG_CONFIG_HOME/vorelt/vorelt.conf

for seed in "$(dirname "$0")"/../fuzz/corpus/store/serialized-*; do
    cp "$seed" "$store"
    headless_title "$(basename "$seed")" -u DISPLAY
    cmp -s "$seed" "$store" || fail "$(basename "$seed"): the store was touched by a start"
done

start_x
change_seconds() {  # the settings window's seconds box, as a person clicks it
    wait_for_bar '(AM|PM)$'
    open_popover
    geometry "$popover"
    xdotool mousemove $((X + 60)) $((Y + HEIGHT - 26)) click 1
    settings_open() { xdotool search --onlyvisible --name '^Settings$' >/dev/null 2>&1; }
    wait_until 5 settings_open || fail "no settings window"
    # From the first box of the window, Day of week, to Seconds, with the keyboard.
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^Settings$' | head -n 1)" \
        key Tab Tab Tab space
    with_seconds() { xdotool getwindowname "$bar" | grep -Eq ':[0-9]{2}:[0-9]{2} (AM|PM)$'; }
    wait_until 3 with_seconds || fail "$1: the bar does not show the change"
    kill -TERM "$pid"
    wait "$pid" || fail "$1: exit status $?"
}
# A full disk and a read-only folder: the change still shows in the bar while the clock runs.
mnt=$work/small
mkdir -p "$mnt"
if mount -t tmpfs -o size=64k tmpfs "$mnt" 2>/dev/null; then
    cleanup_mount() { umount "$mnt" 2>/dev/null || true; }
    trap 'cleanup_mount; cleanup' EXIT
    export XDG_CONFIG_HOME=$mnt
    mkdir -p "$mnt/vorelt"
    head -c $((1 << 20)) /dev/zero >"$mnt/filler" 2>/dev/null || true  # fills it up
    start_clock
    change_seconds "full disk"
    echo "full disk: the change showed, nothing crashed"
    rm -f "$mnt/filler"
    mount -o remount,ro "$mnt"
    start_clock
    change_seconds "read-only folder"
    echo "read-only folder: the change showed, nothing crashed"
    umount "$mnt"
else
    echo "no tmpfs mounts here: full-disk and read-only runs skipped"
fi
echo "PASS"
