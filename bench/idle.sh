#!/usr/bin/env bash
# The running clock's cost under Xvfb: CPU time and wakeups (voluntary context switches) of all its
# threads over a window after a settle, and its private dirty and peak resident memory. The default
# pattern changes the title once a minute; give one with seconds to see the cost of a change.
# Usage: bench/idle.sh path/to/vorelt [seconds] [pattern]
set -euo pipefail
vorelt=$1
seconds=${2:-60}
pattern=${3:-}
settle=5

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/vorelt" && chmod 700 "$XDG_RUNTIME_DIR"
if [ -n "$pattern" ]; then
    printf '[General]\ndateFormat="%s"\n' "$pattern" >"$XDG_CONFIG_HOME/vorelt/vorelt.conf"
fi

mkfifo "$work/fd"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/fd" >/dev/null 2>&1 &
read -r display <"$work/fd"
export DISPLAY=:$display

"$vorelt" >/dev/null 2>&1 &
pid=$!
sleep "$settle"

# CPU nanoseconds and wakeups summed over all threads.
sample() {
    local cpu=0 wakeups=0 task
    for task in /proc/"$pid"/task/*; do
        cpu=$((cpu + $(cut -d' ' -f1 "$task/schedstat")))
        wakeups=$((wakeups + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status")))
    done
    echo "$cpu $wakeups"
}
read -r cpu0 sw0 < <(sample)
sleep "$seconds"
read -r cpu1 sw1 < <(sample)
threads=$(ls /proc/"$pid"/task | wc -l)
peak=$(awk '/VmHWM/ {print $2}' /proc/"$pid"/status)
private=$(awk '/^Private_Dirty/ {print $2}' /proc/"$pid"/smaps_rollup)

awk -v cpu=$((cpu1 - cpu0)) -v sw=$((sw1 - sw0)) -v s="$seconds" -v peak="$peak" -v t="$threads" \
    -v private="$private" 'BEGIN {
    printf "cpu per minute: %.1f ms\n", cpu / 1e6 * 60 / s
    printf "wakeups per second (all %d threads): %.2f\n", t, sw / s
    printf "private dirty memory: %.1f MB\n", private / 1024
    printf "peak resident memory: %.1f MB\n", peak / 1024
}'
