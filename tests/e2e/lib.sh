# Shared set-up of the end-to-end tests: a private config home, an X server of their own, clean-up.
set -euo pipefail

work=$(mktemp -d /tmp/vorelt-e2e.XXXXXX)
export XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/vorelt" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
artifacts=${VORELT_ARTIFACTS:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/artifacts}
mkdir -p "$artifacts"
pids=()

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb on a free display and exports DISPLAY.
start_x() {
    local fifo=$work/displayfd
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1280x800x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    pids+=($!)
    local number
    read -r -t 10 number <"$fifo" || fail "Xvfb did not start"
    export DISPLAY=:$number
}

write_store() {
    printf '%s\n' "$@" >"$XDG_CONFIG_HOME/vorelt/vorelt.conf"
}

# Waits until `condition` (a command) succeeds, for at most $1 seconds.
wait_until() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}
