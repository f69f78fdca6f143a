#!/usr/bin/env bash
# Kills the settings view with SIGKILL at random moments while it saves option changes, N times,
# and checks after every kill that the store parses and holds every finished change.
# Usage: kill_test.sh HARNESS [KILLS]
source "$(dirname "$0")/../e2e/lib.sh"
harness=$1
kills=${2:-200}
lost=0 clicks=0
for ((i = 1; i <= kills; i++)); do
    rm -rf "$XDG_CONFIG_HOME" "$work/journal"
    "$harness" run "$work/journal" 2>/dev/null &
    # From just after start-up (first-run seeding) to a few hundred clicks in.
    sleep "0.$(printf '%03d' $((RANDOM % 400 + 50)))"
    kill -KILL $!
    wait $! 2>/dev/null || true
    if ! out=$("$harness" verify "$work/journal" 2>&1); then
        echo "kill $i: $out" >&2
        lost=$((lost + 1))
    fi
    clicks=$((clicks + $(grep -c '^done' "$work/journal" || true)))
done
echo "kills survived: $((kills - lost)) of $kills; clicks saved before the kills: $clicks; kills with keys lost: $lost"
[ "$lost" -eq 0 ]
