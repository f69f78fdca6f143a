#!/usr/bin/env bash
# What the clock's changes cost the panel that shows them: GNOME Shell with its AppIndicator
# extension under Xvfb, its CPU per minute (all threads) with nothing in its tray, then with the
# clock's seconds in it, round after round, beside xclock's own cost in the same run. The shell's
# own clock in its top bar is left as it comes; nothing here reads it.
# Usage: bench/panel_share.sh path/to/vorelt [rounds] [seconds]; prints one line:
#   shell-alone-ms shell-with-clock-ms clock-ms xclock-ms (medians, per minute)
source "$(dirname "$0")/../tests/e2e/lib.sh"
source "$(dirname "$0")/../tests/e2e/gnome_lib.sh"
rounds=${2:-3}
seconds=${3:-40}
write_store '[General]' 'dateFormat="E MMM d  h:mm:ss a"'
start_x
start_bus
start_gnome_shell >/dev/null
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }
per_minute() { awk -v n="$1" -v s="$seconds" 'BEGIN { printf "%.1f", n / 1e6 * 60 / s }'; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
# CPU per minute of the shell and of process $1 (none: 0) over the window.
measure() {
    local s0 c0=0 s1 c1=0
    sleep 3
    s0=$(cpu_ns "$gnome_shell_pid")
    [ -z "$1" ] || c0=$(cpu_ns "$1")
    sleep "$seconds"
    s1=$(cpu_ns "$gnome_shell_pid")
    [ -z "$1" ] || c1=$(cpu_ns "$1")
    echo "$(per_minute $((s1 - s0))) $(per_minute $((c1 - c0)))"
}
: >"$work/rounds"
for ((round = 0; round < rounds; round++)); do
    read -r alone _ < <(measure "")
    start_clock --show-in=tray
    read -r with clock < <(measure "$pid")
    stop_clock
    xclock -digital -update 1 >/dev/null 2>&1 &
    x=$!
    pids+=("$x")
    read -r _ reference < <(measure "$x")
    kill "$x" && wait "$x" 2>/dev/null || true
    echo "$alone $with $clock $reference" | tee -a "$work/rounds" >&2
done
for column in 1 2 3 4; do cut -d' ' -f$column "$work/rounds" | median; done | paste -sd' '
