# Shared set-up of the end-to-end tests: a private config home, an X server of their own, clean-up.
set -euo pipefail

work=$(mktemp -d /tmp/vorelt-e2e.XXXXXX)
# English texts and dates whatever the machine's language; a test that wants another says so.
unset LC_ALL LC_MESSAGES LC_TIME LANGUAGE
export LANG=C.UTF-8
# The tests' X servers are the whole session, even when they run inside a Wayland one.
unset WAYLAND_DISPLAY
export XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/vorelt" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
artifacts=${VORELT_ARTIFACTS:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/artifacts}
mkdir -p "$artifacts"
pids=()

cleanup() {
    # The last started first: the clients before their X server.
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    # A window manager's settings daemon may still be writing its last settings there.
    rm -rf "$work" 2>/dev/null || { sleep 0.5; rm -rf "$work"; }
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb on a free display and exports DISPLAY. It keeps running as one clock ends and the
# next starts (-noreset), rather than refusing clients while it resets.
start_x() {
    local fifo=$work/displayfd
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${1:-1280x800x24}" -nolisten tcp -noreset \
        3>"$fifo" >/dev/null 2>&1 &
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

# Starts "$vorelt" with the arguments given, its output in $work/out and $work/err; its process id
# is $pid.
start_clock() {
    "$vorelt" "$@" >"$work/out" 2>"$work/err" &
    pid=$!
    pids+=("$pid")
}

# Sets X, Y, WIDTH and HEIGHT to the geometry of window $1.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

# Waits for the bar, the window whose name matches the pattern $1, and sets `bar` to it,
# `bar_height` to its height and `item_x`, `item_y` to a point on the item at its right end.
wait_for_bar() {
    bar_pattern=$1
    wait_until 10 find_bar || fail "no bar named like $1; stderr: $(cat "$work/err")"
    # A window is named before it has its place: wait for a strip.
    a_strip() { geometry "$bar" && [ "$WIDTH" -gt $((HEIGHT * 4)) ]; }
    wait_until 5 a_strip || fail "the bar is no strip: ${WIDTH}x$HEIGHT"
    bar_height=$HEIGHT
    item_x=$((WIDTH - 50)) item_y=$((HEIGHT / 2))
}
find_bar() {
    bar=$(xdotool search --name "$bar_pattern" 2>/dev/null | head -n 1)
    [ -n "$bar" ]
}

click_item() { xdotool mousemove "$item_x" "$item_y" click 1; }
popover_open() { xdotool search --onlyvisible --name '^Popover$' >/dev/null 2>&1; }
popover_closed() { ! popover_open; }
popover_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$popover" ]; }

# Clicks the item, waits for the popover and sets `popover` to its window; $1 says when.
open_popover() {
    click_item
    wait_until 3 popover_open || fail "popover did not open${1:+ ($1)}"
    popover=$(xdotool search --onlyvisible --name '^Popover$' | head -n 1)
}

# Runs the clock without a display under `env ARGS... [-- OPTIONS...]`, waits for its first real
# title, ends it with SIGTERM and expects status 0; $1 names the run, its output lands in
# $work/NAME.out.
headless_title() {
    local name=$1
    shift
    local env_args=() options=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        env_args+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift && options=("$@")
    env "${env_args[@]}" "$vorelt" "${options[@]}" >"$work/$name.out" 2>"$work/$name.err" &
    local clock=$!
    pids+=("$clock")
    a_title() { grep -qv '^Time$' "$work/$name.out" 2>/dev/null; }
    wait_until 5 a_title || fail "$name: no title; stderr: $(cat "$work/$name.err")"
    kill -TERM "$clock"
    local status=0
    wait "$clock" || status=$?
    [ "$status" -eq 0 ] || fail "$name: exit status $status"
}

# Starts the window manager $1 (openbox or xfwm4) on the display and waits until it manages it.
start_wm() {
    case $1 in
        openbox) openbox --sm-disable ;;
        xfwm4) dbus-run-session -- xfwm4 --compositor=off --sm-client-disable ;;
    esac >"$work/wm.log" 2>&1 &
    pids+=($!)
    wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_until 10 wm_running || fail "$1 did not start: $(cat "$work/wm.log")"
}
