#!/usr/bin/env bash
# A real run under X while the time changes under the clock: the system's zone, /etc/localtime with
# no TZ, is switched twice (the link is replaced, once atomically as the desktop's date and time
# settings do it and once by remove-and-create) and the wall clock is stepped forward by an hour
# and back by some seconds (libfaketime, for this process only). The clock runs in a mount
# namespace of its own with a copy of /etc in place of the real one, so the link can be replaced
# under it without touching the machine; skipped where no namespace can be made. The bar is read
# four times a second; outside a short settling time after each change, every title must show the
# wall clock's second in the zone then in force.
# Usage: zone_and_clock_steps.sh VORELT [SECONDS]   (40 s in the test suite, 600 s in the stress run)
source "$(dirname "$0")/lib.sh"
duration=${2:-40}
unshare -m --propagation private true 2>/dev/null || { echo "skipped: no private mount namespace"; exit 77; }
faketime=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -n 1)
[ -n "$faketime" ] || fail "libfaketime is not installed"
zoneinfo=/usr/share/zoneinfo
etc=$work/etc
cp -a /etc "$etc" 2>/dev/null || true
link=$etc/localtime
ln -sfn $zoneinfo/Europe/Berlin "$link"
zone=Europe/Berlin offset=0
echo "+0" >"$work/offset"

start_x
write_store '[General]' "dateFormat=\"'zone' HH:mm:ss VV\""
LD_PRELOAD=$faketime FAKETIME_TIMESTAMP_FILE=$work/offset FAKETIME_NO_CACHE=1 FAKETIME_DONT_FAKE_MONOTONIC=1 \
    start_command unshare -m --propagation private \
    sh -c 'mount --bind "$1" /etc && exec env -u TZ "$2"' _ "$etc" "$vorelt"
wait_for_bar '^zone [0-9]{2}:[0-9]{2}:[0-9]{2} '
expected() { TZ=$zone date -d "@$(($1 + offset))" "+zone %H:%M:%S $zone"; }

# After three seconds of settling, every title read in a fifth of the run shows a second of the
# wall clock while it was read.
titles_follow() {
    echo "$((SECONDS - start)) s: $*"
    sleep 3
    local until=$((SECONDS + duration / 5 - 3)) title before after second
    while [ $SECONDS -lt $until ]; do
        sleep 0.25
        before=${EPOCHREALTIME%.*}
        title=$(xdotool getwindowname "$bar" 2>&1) || fail "the bar went away: $title $(cat "$work/err")"
        after=${EPOCHREALTIME%.*}
        checked=$((checked + 1))
        for ((second = before - 1; second <= after; second++)); do
            [ "$title" != "$(expected $second)" ] || continue 2
        done
        wrong=$((wrong + 1))
        echo "wrong title at $((SECONDS - start)) s: '$title', wanted '$(expected "$after")'" >&2
    done
}
step_by() {
    printf '%+d\n' "$1" >"$work/offset.new"
    mv "$work/offset.new" "$work/offset"
    offset=$1
}

start=$SECONDS checked=0 wrong=0
titles_follow the start
ln -s "$zoneinfo/Asia/Kolkata" "$etc/.localtime.new"
mv -T "$etc/.localtime.new" "$link"
zone=Asia/Kolkata
titles_follow the link replaced at once
step_by 3725
titles_follow the wall clock an hour on
step_by -47
titles_follow the wall clock back
rm "$link"
ln -s "$zoneinfo/America/St_Johns" "$link"
zone=America/St_Johns
titles_follow the link removed and made again
echo "$duration s, $checked titles checked, $wrong wrong"
[ $wrong -eq 0 ] || fail "$wrong titles did not follow the zone or the wall clock"
stop_clock
