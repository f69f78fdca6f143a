#!/usr/bin/env bash
# Every way of ending the clock, $2 rounds each (3 by default): Quit; SIGTERM, SIGINT and SIGHUP;
# the X server going away; the session bus going away; the panel going away; the reader of its
# standard output going away. Each in the host modes where it can happen (its own bar under
# openbox, a panel's tray, standard output) and with nothing, the popover or a settings window
# open. Clean means status 0, or status 1 with one line when the display is lost; a crash (a
# signal, a sanitizer's report) fails. Prints the counts. $3 is the stand-in panel.
source "$(dirname "$0")/../e2e/lib.sh"
vorelt=$1
rounds=${2:-3}
panel=$3
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

start_x
start_wm openbox
endings=0 crashes=0 unclean=0

# Starts Xvfb on a display of its own (for the rounds that take it away); sets `xserver`.
own_x() {
    xservers=$((${xservers:-0} + 1))
    local fifo=$work/displayfd.$xservers
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    xserver=$!
    disown "$xserver"  # killed on purpose: no notice of it
    pids+=("$xserver")
    local number
    read -r -t 10 number <"$fifo" || fail "Xvfb did not start"
    export DISPLAY=:$number
}

# A settings window writes the pattern it composes: each clock starts from the test's own.
fresh_store() { write_store '[General]' "dateFormat=\"'end' HH:mm:ss\""; }
bar_clock() {
    fresh_store
    start_clock
    wait_for_bar '^end '
}

# A clock in a panel's tray, on a session bus of its own; `service` is its item's bus name.
tray_clock() {
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --nopidfile)
    bus_pid=$(tail -n 1 <<<"$bus")
    pids+=("$bus_pid")
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 <<<"$bus")
    "$panel" >"$work/panel" 2>&1 &
    panel_pid=$!
    pids+=("$panel_pid")
    panel_up() { gdbus introspect --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher >/dev/null 2>&1; }
    wait_until 5 panel_up || fail "the stand-in panel did not start: $(cat "$work/panel")"
    fresh_store
    start_clock --show-in=tray
    in_tray() { grep -q '^org.kde.StatusNotifierItem-' "$work/panel"; }
    wait_until 5 in_tray || fail "the clock did not come to the tray: $(cat "$work/err")"
    service=$(head -n 1 "$work/panel")
    opener=tray_popover
}
tray_popover() {
    gdbus call --session --dest "$service" --object-path /StatusNotifierItem \
        --method org.kde.StatusNotifierItem.Activate 640 10 >/dev/null
    wait_until 3 popover_open || fail "popover did not open from the tray ($1)"
    popover=$(xdotool search --onlyvisible --name '^Popover$' | head -n 1)
}
# Takes the tray's panel and bus away, if still there.
tray_gone() {
    kill "$panel_pid" "$bus_pid" 2>/dev/null || true
    wait "$panel_pid" 2>/dev/null || true
    unset DBUS_SESSION_BUS_ADDRESS
    opener=open_popover
}
opener=open_popover

# Puts the clock in state $1 (none, popover, settings); the bar or the tray item must be up.
enter() {
    case $1 in
        popover) $opener "$1" ;;
        settings)
            $opener "$1"
            wait_until 2 popover_focused || fail "the popover has no keyboard focus"
            xdotool key Tab space
            has_settings() { xdotool search --onlyvisible --name '^Settings$' >/dev/null 2>&1; }
            wait_until 5 has_settings || fail "no settings window"
            ;;
    esac
}

# Waits for the clock to end and judges how: $1 names the ending, $2 the status expected.
judge() {
    ended() { ! kill -0 "$pid" 2>/dev/null; }
    local status=0
    if ! wait_until 10 ended; then
        unclean=$((unclean + 1))
        echo "UNCLEAN $1: still running after 10 s" >&2
        kill -KILL "$pid"
        wait "$pid" 2>/dev/null || true
        return
    fi
    wait "$pid" || status=$?
    endings=$((endings + 1))
    [ -z "${VORELT_ENDINGS_VERBOSE:-}" ] || echo "$1: status $status"
    if [ "$status" -ge 128 ] || grep -Eq 'Sanitizer|runtime error' "$work/err"; then
        crashes=$((crashes + 1))
        echo "CRASH $1: status $status" >&2
        cp "$work/err" "$artifacts/endings-crash-$crashes.txt"
    elif [ "$status" -ne "$2" ]; then
        unclean=$((unclean + 1))
        echo "UNCLEAN $1: status $status, expected $2: $(head -c 300 "$work/err")" >&2
    elif [ "$2" -eq 0 ] && [ -s "$work/err" ]; then
        unclean=$((unclean + 1))
        echo "UNCLEAN $1: said $(head -c 300 "$work/err")" >&2
    elif [ "$2" -ne 0 ] && [ "$(grep -c . "$work/err")" -gt 1 ]; then
        unclean=$((unclean + 1))
        echo "UNCLEAN $1: more than one line: $(head -c 300 "$work/err")" >&2
    fi
}

states=(none popover settings)
for ((round = 0; round < rounds; round++)); do
    state=${states[round % 3]}
    # Quit from the popover, from the keyboard.
    bar_clock
    [ "$state" = settings ] && enter settings
    open_popover "for Quit"
    wait_until 2 popover_focused || fail "the popover has no keyboard focus"
    xdotool key Tab Tab space
    judge "Quit with $state" 0

    for sig in TERM INT HUP; do
        bar_clock
        enter "$state"
        kill -"$sig" "$pid"
        judge "SIG$sig in the bar with $state" 0

        fresh_store
        QT_QPA_PLATFORM=offscreen start_clock
        a_line() { grep -q '^end ' "$work/out"; }
        wait_until 5 a_line || fail "no title on standard output"
        kill -"$sig" "$pid"
        judge "SIG$sig on standard output" 0
    done

    # The session bus goes away under the clock, which goes on and then ends as usual.
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --nopidfile)
    bus_pid=$(tail -n 1 <<<"$bus")
    pids+=("$bus_pid")
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 <<<"$bus") bar_clock
    enter "$state"
    kill "$bus_pid"
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || fail "the clock ended with the session bus"
    kill -TERM "$pid"
    judge "the session bus gone with $state" 0

    # The reader of standard output goes away: the clock ends by itself.
    fresh_store
    mkfifo "$work/reader"
    QT_QPA_PLATFORM=offscreen "$vorelt" >"$work/reader" 2>"$work/err" &
    pid=$!
    pids+=("$pid")
    head -n 2 <"$work/reader" >/dev/null
    rm "$work/reader"
    judge "its reader gone" 0

    # The X server goes away.
    display=$DISPLAY
    own_x
    bar_clock
    enter "$state"
    kill -KILL "$xserver"
    judge "the X server gone with $state" 1
    export DISPLAY=$display

    [ -n "$panel" ] || continue
    # In a panel's tray: Quit, the signals, the panel gone, the bus gone, the X server gone.
    tray_clock
    [ "$state" = settings ] && enter settings
    tray_popover "for Quit"
    wait_until 2 popover_focused || fail "the popover from the tray has no keyboard focus"
    xdotool key Tab Tab space
    judge "Quit from the tray with $state" 0
    tray_gone
    for sig in TERM INT HUP; do
        tray_clock
        enter "$state"
        kill -"$sig" "$pid"
        judge "SIG$sig in the tray with $state" 0
        tray_gone
    done
    for gone in panel bus; do
        tray_clock
        enter "$state"
        if [ "$gone" = panel ]; then kill "$panel_pid"; else kill "$bus_pid"; fi
        # Back in its own bar, in the test's pattern or the one a settings window composed.
        wait_for_bar '^end |(AM|PM)$'
        kill -TERM "$pid"
        judge "the $gone gone under the tray with $state" 0
        tray_gone
    done
    own_x
    tray_clock
    enter "$state"
    kill -KILL "$xserver"
    judge "the X server gone under the tray with $state" 1
    tray_gone
    export DISPLAY=$display
done
echo "endings: $endings, crashes: $crashes, unclean: $unclean"
[ "$crashes" -eq 0 ] && [ "$unclean" -eq 0 ] || fail "not every ending was clean"
echo "PASS"
