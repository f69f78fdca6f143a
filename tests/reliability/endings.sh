#!/usr/bin/env bash
# Every way of ending the clock, $2 rounds each (3 by default): Quit; SIGTERM, SIGINT and SIGHUP;
# the X server going away; the session bus going away; the panel going away. Each in the host
# modes where it can happen (its own bar under openbox, a panel's tray; standard output is the
# headless test's) and with nothing, the popover or a settings window open. Clean means status 0,
# or status 1 with one line when the display is lost; a crash (a signal, a sanitizer's report)
# fails. Prints the counts. The panel is Xfce's, with its systray.
source "$(dirname "$0")/../e2e/lib.sh"
rounds=${2:-3}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

start_x
start_wm openbox
desktop=$DISPLAY
endings=0 unclean=0
# A settings window writes the pattern it composes: each clock starts from the test's own.
fresh_store() { write_store '[General]' "dateFormat=\"'end' HH:mm:ss\""; }

# Puts the clock in state $1 (none, popover, settings); the bar or the tray item must be up.
enter() {
    [ "$1" = none ] && return
    open_popover "$1"
    [ "$1" = popover ] && return
    xdotool key Tab space  # the popover has the keyboard focus as it opens
    wait_until 5 shown '^Settings$' || fail "no settings window"
}

# Waits for the clock to end and judges how: $1 names the ending, $2 the status expected, and as
# many lines on standard error at most. A crash (a signal, a sanitizer's report) or a clock still
# running after 10 s, which is killed, fails.
judge() {
    wait_until 10 ended || kill -KILL "$pid"
    local status=0
    wait "$pid" || status=$?
    endings=$((endings + 1))
    if [ "$status" -ne "$2" ] || [ "$(grep -c . "$work/err")" -gt "$2" ] ||
        grep -Eq 'Sanitizer|runtime error' "$work/err"; then
        unclean=$((unclean + 1))
        echo "UNCLEAN $1: status $status, expected $2" >&2
        cp "$work/err" "$artifacts/endings-unclean-$unclean.txt"
    fi
}

# One ending: the clock in host $1 (bar, tray) and state $2, ended by $3 (quit, a
# signal's name, bus, panel, x).
one_ending() {
    local host=$1 state=$2 how=$3 expected=0
    if [ "$how" = x ]; then
        start_x
        disown "$xserver"  # killed on purpose: no notice of it
        expected=1
    fi
    fresh_store
    case $host in
        bar)
            [ "$how" != bus ] || start_bus
            start_clock
            wait_for_bar '^end ' ;;
        tray)
            XDG_CONFIG_DIRS=$work/xdg start_bus
            start_panel
            start_clock --show-in=tray
            wait_until 10 has_tray_item || fail "the clock did not come to the tray: $(cat "$work/err")"
            find_tray_icon ;;
    esac
    enter "$state"
    case $how in
        quit)
            [ "$state" = popover ] || open_popover "for Quit"
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
    for how in quit TERM INT HUP panel bus x; do one_ending tray "$state" "$how"; done
done
echo "endings: $endings, unclean: $unclean"
[ "$unclean" -eq 0 ] || fail "not every ending was clean"
