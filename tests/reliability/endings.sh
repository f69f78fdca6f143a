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
desktop=$DISPLAY
endings=0 crashes=0 unclean=0
# A settings window writes the pattern it composes: each clock starts from the test's own.
fresh_store() { write_store '[General]' "dateFormat=\"'end' HH:mm:ss\""; }
a_line() { grep -q '^end ' "$work/out"; }
in_tray() { grep -q '^org.kde.StatusNotifierItem-' "$work/panel"; }
panel_up() { gdbus introspect --session --dest org.kde.StatusNotifierWatcher \
    --object-path /StatusNotifierWatcher >/dev/null 2>&1; }

tray_popover() {
    gdbus call --session --dest "$(head -n 1 "$work/panel")" --object-path /StatusNotifierItem \
        --method org.kde.StatusNotifierItem.Activate 640 10 >/dev/null
    wait_until 3 popover_open || fail "popover did not open from the tray ($1)"
    popover=$(visible '^Popover$')
}

# Puts the clock in state $1 (none, popover, settings); the bar or the tray item must be up.
enter() {
    [ "$1" = none ] && return
    $opener "$1"
    [ "$1" = popover ] && return
    wait_until 2 popover_focused || fail "the popover has no keyboard focus"
    xdotool key Tab space
    wait_until 5 shown '^Settings$' || fail "no settings window"
}

# Waits for the clock to end and judges how: $1 names the ending, $2 the status expected, and as
# many lines on standard error at most. A clock still running after 10 s is killed, and fails.
judge() {
    wait_until 10 ended || kill -KILL "$pid"
    local status=0
    wait "$pid" || status=$?
    endings=$((endings + 1))
    if [ "$status" -ge 128 ] || grep -Eq 'Sanitizer|runtime error' "$work/err"; then
        crashes=$((crashes + 1))
        echo "CRASH $1: status $status" >&2
        cp "$work/err" "$artifacts/endings-crash-$crashes.txt"
    elif [ "$status" -ne "$2" ] || [ "$(grep -c . "$work/err")" -gt "$2" ]; then
        unclean=$((unclean + 1))
        echo "UNCLEAN $1: status $status, expected $2: $(head -c 300 "$work/err")" >&2
    fi
}

# One ending: the clock in host $1 (bar, tray, stdout) and state $2, ended by $3 (quit, a
# signal's name, bus, panel, x).
one_ending() {
    local host=$1 state=$2 how=$3 expected=0
    if [ "$how" = x ]; then
        start_x
        disown "$xserver"  # killed on purpose: no notice of it
        expected=1
    fi
    opener=open_popover
    fresh_store
    case $host in
        bar)
            [ "$how" != bus ] || start_bus
            start_clock
            wait_for_bar '^end ' ;;
        stdout)
            QT_QPA_PLATFORM=offscreen start_clock
            wait_until 5 a_line || fail "no title on standard output" ;;
        tray)
            start_bus
            "$panel" >"$work/panel" 2>&1 &
            panel_pid=$!
            pids+=("$panel_pid")
            wait_until 5 panel_up || fail "the stand-in panel did not start: $(cat "$work/panel")"
            start_clock --show-in=tray
            wait_until 5 in_tray || fail "the clock did not come to the tray: $(cat "$work/err")"
            opener=tray_popover ;;
    esac
    enter "$state"
    case $how in
        quit)
            [ "$state" = popover ] || $opener "for Quit"
            wait_until 2 popover_focused || fail "the popover has no keyboard focus"
            xdotool key Tab Tab space ;;
        x) kill -KILL "$xserver" ;;
        bus | panel)
            if [ "$how" = panel ]; then kill "$panel_pid"; else kill "$bus_pid"; fi
            # Back in its own bar, in the test's pattern or the one a settings window composed.
            if [ "$host" = tray ]; then wait_for_bar '^end |(AM|PM)$'; else sleep 0.5; fi
            kill -0 "$pid" 2>/dev/null || fail "the clock ended with the $how"
            kill -TERM "$pid" ;;
        *) kill -"$how" "$pid" ;;
    esac
    judge "$how in the $host with $state" "$expected"
    if [ -n "${bus_pid:-}" ]; then
        kill "${panel_pid:-}" "$bus_pid" 2>/dev/null || true
        unset DBUS_SESSION_BUS_ADDRESS bus_pid panel_pid
    fi
    export DISPLAY=$desktop
}

states=(none popover settings)
for ((round = 0; round < rounds; round++)); do
    state=${states[round % 3]}
    for how in quit TERM INT HUP bus x; do one_ending bar "$state" "$how"; done
    for how in TERM INT HUP; do one_ending stdout none "$how"; done

    # The reader of standard output goes away: the clock ends by itself.
    fresh_store
    mkfifo "$work/reader"
    QT_QPA_PLATFORM=offscreen "$vorelt" >"$work/reader" 2>"$work/err" &
    pid=$!
    pids+=("$pid")
    head -n 2 <"$work/reader" >/dev/null
    rm "$work/reader"
    judge "its reader gone" 0

    [ -z "$panel" ] && continue
    for how in quit TERM INT HUP panel bus x; do one_ending tray "$state" "$how"; done
done
echo "endings: $endings, crashes: $crashes, unclean: $unclean"
[ "$crashes" -eq 0 ] && [ "$unclean" -eq 0 ] || fail "not every ending was clean"
echo "PASS"
