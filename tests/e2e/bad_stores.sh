#!/usr/bin/env bash
# Settings files that cannot be read, a full disk and a read-only config folder: the clock starts
# and shows a title every time, never touches the bad file, and a change made in the settings
# window shows in the bar (and is saved where it can be).
source "$(dirname "$0")/lib.sh"
vorelt=$1
store=$XDG_CONFIG_HOME/vorelt/vorelt.conf

# Every file of the config folder, its size, time and content.
snapshot() {
    find "$XDG_CONFIG_HOME/vorelt" -printf '%p %s %T@ %y\n' | sort
    find "$XDG_CONFIG_HOME/vorelt" -type f -exec sha1sum {} + | sort
}

# One headless start on the store as it is; the store must come out as it went in.
headless_start() {
    local kind=$1
    local before
    before=$(snapshot)
    headless_title "$kind" -u DISPLAY
    [ "$(snapshot)" = "$before" ] ||
        fail "$kind: the store was touched by a start"
    echo "$kind: $(grep -v '^Time$' "$work/$kind.out" | head -n 1)"
}

kinds=0
try_kind() {  # name, then a command that writes $store
    rm -rf "$XDG_CONFIG_HOME/vorelt" && mkdir -p "$XDG_CONFIG_HOME/vorelt"
    "${@:2}"
    headless_start "$1"
    kinds=$((kinds + 1))
}
random_bytes() { head -c 4096 /dev/urandom >"$store"; }
truncated() { printf '[General]\ndateFormat="E MMM d  h:m' >"$store"; }
huge() { head -c $((10 << 20)) /dev/zero | tr '\0' 'x' >"$store"; }
nul_bytes() { printf '[General]\ndateFormat=HH\0mm\n' >"$store"; }
bad_utf8() { printf '[General]\ndateFormat=\xc3\x28 \xff HH\n' >"$store"; }
a_directory() { mkdir -p "$store/inside"; }
wrong_types() {
    printf '[General]\ndateFormat=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x3)\nshouldFlashSeparator=banana\nshouldShowDayOfWeek=1, 2, 3\nshouldAutoLaunch=@ByteArray(x)\n' >"$store"
}
a_link() { ln -s /etc/hostname "$store"; }
for kind in random_bytes truncated huge nul_bytes bad_utf8 a_directory wrong_types a_link; do
    try_kind "$kind" "$kind"
done
# Every escaped form of a serialized object, as the store fuzzer's seeds hold them.
for seed in "$(dirname "$0")"/../fuzz/corpus/store/serialized-*; do
    try_kind "$(basename "$seed")" cp "$seed" "$store"
done
echo "kinds of unreadable store tried: $kinds, crashes: 0"

# With a display: the first change is saved beside the kept-aside bad file.
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
rm -rf "$XDG_CONFIG_HOME/vorelt" && mkdir -p "$XDG_CONFIG_HOME/vorelt"
random_bytes
cp "$store" "$work/original"
start_clock
change_seconds "random bytes"
cmp -s "$store.unreadable" "$work/original" || fail "the unreadable store was not kept as it was"
grep -q '^shouldShowSeconds=true' "$store" || fail "the change was not saved in a new store"
echo "random bytes with a display: kept aside, change saved"

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
