#!/usr/bin/env bash
# Runs each libFuzzer target for a while on a copy of its seed corpus and reports executions and
# crashes. Usage: fuzz.sh FUZZ_BUILD_DIR SECONDS_EACH
source "$(dirname "$0")/../e2e/lib.sh"
# The targets' own temporary folders as well.
trap 'rm -rf /tmp/vorelt-fuzz-title.* /tmp/vorelt-fuzz-store.*; cleanup' EXIT
build=$1
seconds=${2:-60}
export QT_QPA_PLATFORM=offscreen
failed=0
for target in title store; do
    cp -r "$(dirname "$0")/../fuzz/corpus/$target" "$work/$target"
    status=0
    "$build/tests/fuzz/vorelt_${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/" "$work/$target" >"$work/$target.log" 2>&1 || status=$?
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$work/$target.log")
    crashes=$(ls "$work" | grep -c -E '^(crash|leak|timeout|oom)-' || true)
    echo "$target fuzzer: ${runs:-0} executions in ${seconds} s, exit $status, findings $crashes"
    if [ "$status" -ne 0 ]; then
        tail -n 30 "$work/$target.log" >&2
        failed=1
    fi
done
exit $failed
