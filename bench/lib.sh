# Shared pieces of the measurements: a private X server and config home, and process accounting.
set -euo pipefail

work=$(mktemp -d /tmp/vorelt-bench.XXXXXX)
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/vorelt" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

start_x() {
    mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
    pids+=($!)
    local number
    read -r -t 10 number <"$work/displayfd"
    export DISPLAY=:$number
}

# CPU nanoseconds and wakeups (voluntary context switches) of all threads of a process.
sample() {
    local pid=$1 cpu=0 wakeups=0 task
    for task in /proc/"$pid"/task/*; do
        cpu=$((cpu + $(cut -d' ' -f1 "$task/schedstat" 2>/dev/null || echo 0)))
        wakeups=$((wakeups + $(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status" 2>/dev/null || echo 0)))
    done
    echo "$cpu $wakeups"
}

# Private dirty memory: what the process costs a desktop that already has its libraries loaded.
private_kb() { awk '/^Private_Dirty/ {print $2}' /proc/"$1"/smaps_rollup; }
# Private dirty kB by mapping (the file's name, [heap], [stack] or [anon]), largest first.
private_by_mapping() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { name = $6 == "" ? "[anon]" : $6; sub(/.*\//, "", name) }
        /^Private_Dirty/ { kb[name] += $2 }
        END { for (n in kb) if (kb[n] > 0) print kb[n], n }' /proc/"$1"/smaps | sort -rn
}
peak_kb() { awk '/VmHWM/ {print $2}' /proc/"$1"/status; }

# Milliseconds after the whole second of each time stamp (first field); the last tenth of a
# second counts as early, before the next second.
offsets() { awk '{ split($1, t, "."); ms = ("0." t[2]) * 1000; if (ms > 900) ms -= 1000; print ms }'; }

# min median max of a column of numbers.
summary() { sort -n | awk '{ v[NR] = $1 } END { printf "%.1f %.1f %.1f\n", v[1], v[int((NR + 1) / 2)], v[NR] }'; }
