#!/usr/bin/env bash
# The running clock's idle cost under Xvfb: CPU time and context switches of all its threads over
# a window after a settle, and its peak resident memory.
# Usage: bench/idle.sh path/to/vorelt [seconds]
set -euo pipefail
vorelt=$1
seconds=${2:-60}
settle=5

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

mkfifo "$work/fd"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/fd" >/dev/null 2>&1 &
read -r display <"$work/fd"
export DISPLAY=:$display

"$vorelt" >/dev/null 2>&1 &
pid=$!
sleep "$settle"

# CPU nanoseconds and context switches summed over all threads.
sample() {
    local cpu=0 switches=0 task
    for task in /proc/"$pid"/task/*; do
        cpu=$((cpu + $(cut -d' ' -f1 "$task/schedstat")))
        switches=$((switches + $(awk '/ctxt_switches/ {s += $2} END {print s}' "$task/status")))
    done
    echo "$cpu $switches"
}
read -r cpu0 sw0 < <(sample)
sleep "$seconds"
read -r cpu1 sw1 < <(sample)
threads=$(ls /proc/"$pid"/task | wc -l)
peak=$(awk '/VmHWM/ {print $2}' /proc/"$pid"/status)

awk -v cpu=$((cpu1 - cpu0)) -v sw=$((sw1 - sw0)) -v s="$seconds" -v peak="$peak" -v t="$threads" 'BEGIN {
    printf "cpu per minute: %.1f ms\n", cpu / 1e6 * 60 / s
    printf "wakeups per second (all %d threads): %.2f\n", t, sw / s
    printf "peak resident memory: %.1f MB\n", peak / 1024
}'
