#!/usr/bin/env bash
# A real run under X while the time changes under the clock: the system's zone is switched twice
# (the link TZ names is replaced, once atomically and once by remove-and-create) and the wall clock
# is stepped forward by an hour and back by some seconds (libfaketime, for this process only).
# The bar is read four times a second; outside a short settling time after each change, every title
# must show the wall clock's second in the zone then in force.
# Usage: zone_and_clock_steps.sh VORELT [SECONDS]   (40 s in the test suite, 600 s in the stress run)
source "$(dirname "$0")/lib.sh"
vorelt=$1
duration=${2:-40}
faketime=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -n 1)
[ -n "$faketime" ] || fail "libfaketime is not installed"
zoneinfo=/usr/share/zoneinfo
[ -e $zoneinfo/Asia/Kolkata ] || fail "no zone data in $zoneinfo"

link=$work/zone/localtime
mkdir -p "$work/zone"
ln -s $zoneinfo/Europe/Berlin "$link"
zone=Europe/Berlin
offset=0
echo "+0" >"$work/offset"

start_x
write_store '[General]' "dateFormat=\"'zone' HH:mm:ss VV\""
LD_PRELOAD=$faketime FAKETIME_TIMESTAMP_FILE=$work/offset FAKETIME_NO_CACHE=1 \
    FAKETIME_DONT_FAKE_MONOTONIC=1 TZ=":$link" "$vorelt" >"$work/out" 2>"$work/err" &
pid=$!
pids+=("$pid")
wait_for_bar '^zone [0-9]{2}:[0-9]{2}:[0-9]{2} '

step_to() {
    offset=$1
    echo "$(printf '%+d' "$offset")" >"$work/offset.new"
    mv "$work/offset.new" "$work/offset"
}
expected() { TZ=$zone date -d "@$(($1 + offset))" "+zone %H:%M:%S $zone"; }

# The changes, at fractions of the run.
events=("$((duration * 2 / 10)) zone_atomic Asia/Kolkata"
    "$((duration * 4 / 10)) step 3725"
    "$((duration * 6 / 10)) step -47"
    "$((duration * 8 / 10)) zone_relink America/St_Johns")
start=$SECONDS
next=0
settle_until=0
samples=0 checked=0 wrong=0 changes=0
while [ $((SECONDS - start)) -lt "$duration" ]; do
    if [ $next -lt ${#events[@]} ]; then
        read -r at what value <<<"${events[$next]}"
        if [ $((SECONDS - start)) -ge "$at" ]; then
            case $what in
                zone_atomic)
                    ln -s "$zoneinfo/$value" "$work/zone/next"
                    mv -T "$work/zone/next" "$link"
                    zone=$value ;;
                zone_relink)
                    rm "$link"
                    ln -s "$zoneinfo/$value" "$link"
                    zone=$value ;;
                step) step_to "$value" ;;
            esac
            echo "$((SECONDS - start)) s: $what $value"
            settle_until=$((SECONDS + 3))
            next=$((next + 1)) changes=$((changes + 1))
        fi
    fi
    before=${EPOCHREALTIME%.*}
    title=$(xdotool getwindowname "$bar" 2>"$work/xdotool.err") ||
        fail "the bar went away at $((SECONDS - start)) s: $(cat "$work/xdotool.err");" \
            "clock $(kill -0 "$pid" 2>/dev/null && echo running || echo ended);" \
            "its stderr: $(cat "$work/err")"
    after=${EPOCHREALTIME%.*}
    samples=$((samples + 1))
    if [ $SECONDS -ge $settle_until ]; then
        checked=$((checked + 1))
        ok=0
        for ((second = before - 1; second <= after; second++)); do
            [ "$title" = "$(expected $second)" ] && ok=1 && break
        done
        if [ $ok -eq 0 ]; then
            wrong=$((wrong + 1))
            echo "wrong title at $((SECONDS - start)) s: '$title', wanted '$(expected "$after")'" >&2
        fi
    fi
    kill -0 "$pid" 2>/dev/null || fail "the clock ended; stderr: $(cat "$work/err")"
    sleep 0.25
done

echo "$duration s, $changes changes, $samples titles read, $checked checked, $wrong wrong"
[ $changes -eq ${#events[@]} ] || fail "only $changes of ${#events[@]} changes were made"
[ $wrong -eq 0 ] || fail "$wrong titles did not follow the zone or the wall clock"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM"
