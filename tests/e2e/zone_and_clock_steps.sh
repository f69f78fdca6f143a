#!/usr/bin/env bash
# A real run under X while the time changes under the clock: the system's zone, /etc/localtime with
# no TZ, is switched twice (the link is replaced, once atomically as the desktop's date and time
# settings do it and once by remove-and-create) and the wall clock is stepped (libfaketime, for
# this process only) forward by an hour and 0.4 s, back by an hour and 72.7 s, forward by 0.6 s and
# back by 0.7 s: a step by a fraction of a second moves where each second starts, and the clock's
# tick must move with it. The clock runs in a mount namespace of its own with a copy of /etc in
# place of the real one, so the link can be replaced under it without touching the machine;
# skipped where no namespace can be made. The bar is read about three times a second, each time
# further into the wall clock's second; outside a short settling time after each change, every
# title must show the wall clock's second in the zone then in force, at most 0.2 s late: the tick
# fires 1 ms past the second and is aligned again once it would land 5 ms late, and the rest is
# the time to name the bar and read it on a busy machine.
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
# The title of the clock's second $1 (seconds since 1970 on its stepped wall clock).
expected() { TZ=$zone date -d "@$1" "+zone %H:%M:%S $zone"; }
# Times in microseconds: the clock's wall clock is the machine's plus `offset`, and its title may
# change up to `late` after the second does.
late=200000

# After two seconds of settling, every title read in a seventh of the run shows a second of the
# wall clock from `late` before it was read until it was read.
titles_follow() {
    echo "$(((${EPOCHREALTIME/./} - start) / 1000000)) s: $*"
    sleep 2
    local until=$((start + ++phase * duration * 1000000 / 7)) pause before title after second behind
    while :; do
        # Each reading 0.35 s of the second further on: ten of them cover it every 0.1 s.
        at=$(((at + 350000) % 1000000))
        before=${EPOCHREALTIME/./}
        pause=$(((at - (before + offset) % 1000000 + 1000000) % 1000000))
        ((before + pause < until)) || break
        sleep "$(printf '0.%06d' "$pause")"
        before=${EPOCHREALTIME/./}
        title=$(xdotool getwindowname "$bar" 2>&1) || fail "the bar went away: $title $(cat "$work/err")"
        after=${EPOCHREALTIME/./}
        checked=$((checked + 1))
        for ((second = (before + offset - late) / 1000000; second <= (after + offset) / 1000000; second++)); do
            [ "$title" = "$(expected $second)" ] || continue
            behind=$((before + offset - (second + 1) * 1000000))
            ((behind <= most_behind)) || most_behind=$behind
            continue 2
        done
        wrong=$((wrong + 1))
        echo "wrong title at $(((before - start) / 1000)) ms, $(((before + offset) % 1000000 / 1000)) ms" \
            "into the second: '$title', wanted '$(expected $(((before + offset) / 1000000)))'" >&2
    done
}
# Steps the clock's wall clock by $1 seconds, signed, with up to six decimals.
step_by() {
    local whole=${1:1} fraction=000000 size
    [[ $whole != *.* ]] || { fraction=${whole#*.}000000 whole=${whole%.*}; }
    size=$((10#$whole * 1000000 + 10#${fraction:0:6}))
    offset=$((offset ${1:0:1} size))
    size=${offset#-}
    printf '%s%d.%06d\n' "$( ((offset < 0)) && echo - || echo +)" $((size / 1000000)) $((size % 1000000)) \
        >"$work/offset.new"
    mv "$work/offset.new" "$work/offset"
}

start=${EPOCHREALTIME/./} phase=0 at=0 checked=0 wrong=0 most_behind=0
titles_follow the start
ln -s "$zoneinfo/Asia/Kolkata" "$etc/.localtime.new"
mv -T "$etc/.localtime.new" "$link"
zone=Asia/Kolkata
titles_follow the link replaced at once
step_by +3725.4
titles_follow the wall clock an hour and 0.4 s on
step_by -3772.7
titles_follow the wall clock an hour and 72.7 s back
step_by +0.6
titles_follow the wall clock 0.6 s on
step_by -0.7
titles_follow the wall clock 0.7 s back
rm "$link"
ln -s "$zoneinfo/America/St_Johns" "$link"
zone=America/St_Johns
titles_follow the link removed and made again
echo "$duration s, $checked titles checked, $wrong wrong, none more than $((most_behind / 1000)) ms late"
[ $wrong -eq 0 ] || fail "$wrong titles did not follow the zone or the wall clock"
stop_clock
