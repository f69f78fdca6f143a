#!/usr/bin/env bash
# How far after each whole second of the wall clock the title changes, read from outside: the
# arrival time of each headless status line, over N ticks.
# Usage: bench/exactness.sh path/to/vorelt [ticks]
set -euo pipefail
vorelt=$1
ticks=${2:-60}

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/vorelt"
printf '[General]\ndateFormat=HH:mm:ss\n' >"$XDG_CONFIG_HOME/vorelt/vorelt.conf"

mkfifo "$work/lines"
env -u DISPLAY -u WAYLAND_DISPLAY "$vorelt" >"$work/lines" 2>/dev/null &
pid=$!
# Skip the placeholder and the launch tick, which lands whenever the program happened to start.
{
    read -r _ && read -r _
    for ((i = 0; i < ticks; i++)); do
        IFS= read -r line
        echo "$EPOCHREALTIME $line"
    done
} <"$work/lines" >"$work/ticks"
kill "$pid"

awk '{
    split($1, t, ".")
    ms = ("0." t[2]) * 1000
    if (ms > 500) ms -= 1000   # arrived before the second: a negative offset
    print ms
}' "$work/ticks" | sort -n | awk '{ v[NR] = $1 } END {
    printf "ticks: %d\n", NR
    printf "offset from the whole second: min %.1f ms, median %.1f ms, max %.1f ms\n",
        v[1], v[int((NR + 1) / 2)], v[NR]
}'
