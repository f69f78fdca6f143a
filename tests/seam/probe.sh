#!/usr/bin/env bash
# The system's side builds against the platform's headers only: with cmake $1 in the build tree $2,
# the probe builds, and the same probe with a Qt header fails, for that header.
cmake=$1 build=$2
log=$(mktemp)
trap 'rm -f "$log"' EXIT
fail() { echo "FAIL: $*"; cat "$log"; exit 1; }

"$cmake" --build "$build" --target vorelt_seam_probe >"$log" 2>&1 || fail "the probe does not build"
"$cmake" --build "$build" --target vorelt_seam_probe_qt >"$log" 2>&1 &&
    fail "a system file built with a Qt header"
grep -Eq "QString'?:? (No such file|file not found)" "$log" || fail "the probe failed, not for its Qt header"
echo "the probe builds, and not with a Qt header"
