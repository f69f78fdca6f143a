#!/usr/bin/env bash
# The bar follows the work area, not only the monitors: beside an Xfce panel under xfwm4, the
# panel moved from the top to the bottom, restarted there and moved back to the top, each time
# within a second the bar is at the top of the work area that the panel leaves free, with no empty
# strip above it and never over the panel, its reserved strip ends at its lower edge, and a
# maximised window fills what is left. It then rests: its strip is not written again. A work area
# left behind by a window manager that went is not trusted: the bar goes to the screen's top, or
# below a panel that still runs.
source "$(dirname "$0")/lib.sh"

# No panel may fall back to the system's configuration, whose default panel has a clock.
export XDG_CONFIG_DIRS=$work/xdg
write_store '[General]' "dateFormat=\"'pm' HH:mm:ss\""
screen_height=800

# Field $1 of the panel's strip: 3 its height along the top, 4 along the bottom.
panel_strut() {
    xprop -id "$panel" _NET_WM_STRUT_PARTIAL | sed 's/.*= //; s/,//g' | cut -d' ' -f"$1"
}
panel_at() {
    geometry "$panel"
    case $1 in
        top) [ "$Y" -eq 0 ] && [ "$(panel_strut 3)" -gt 0 ] && [ "$(panel_strut 4)" -eq 0 ] ;;
        bottom) [ "$((Y + HEIGHT))" -eq $screen_height ] && [ "$(panel_strut 4)" -gt 0 ] &&
            [ "$(panel_strut 3)" -eq 0 ] ;;
    esac
}

# Sets `panel` to the panel's window: the one named xfce4-panel that reserves a strip.
find_panel() {
    panel=$(xdotool search --name '^xfce4-panel$' 2>/dev/null | while read -r w; do
        xprop -id "$w" _NET_WM_STRUT_PARTIAL 2>/dev/null | grep -q = && echo "$w"
    done | head -n 1)
    [ -n "$panel" ]
}

# Sets frame_top and frame_bottom to the edges of the maximised window's frame.
frame_edges() {
    local info top bottom
    info=$(xwininfo -id "$window")
    read -r _ _ top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    frame_top=$(($(awk '/Absolute upper-left Y/ {print $4}' <<<"$info") - top))
    frame_bottom=$((frame_top + top + $(awk '/Height:/ {print $2}' <<<"$info") + bottom))
}

# Within a second the bar is at y $1, spans the screen and reserves down to its lower edge; $2
# names the state.
bar_placed() {
    local top=$1
    placed() {
        geometry "$bar"
        [ "$X" -eq 0 ] && [ "$Y" -eq "$top" ] && [ "$WIDTH" -eq 1280 ] &&
            [ "$HEIGHT" -eq "$bar_height" ] &&
            xprop -id "$bar" _NET_WM_STRUT_PARTIAL |
            grep -q "= 0, 0, $((top + bar_height)), 0, 0, 0, 0, 0, 0, 1279, 0, 0$"
    }
    wait_until 1 placed ||
        fail "$2: bar ${WIDTH}x$HEIGHT+$X+$Y, not at y=$top;" \
            "$(xprop -id "$bar" _NET_WM_STRUT_PARTIAL)"
}

# The bar is placed at y $1 and the maximised window runs from below the bar down to y $2; $3
# names the state.
bar_at() {
    local top=$1 bottom=$2
    bar_placed "$top" "$3"
    maximised() {
        frame_edges && [ "$frame_top" -eq $((top + bar_height)) ] &&
            [ "$frame_bottom" -eq "$bottom" ]
    }
    wait_until 2 maximised ||
        fail "$3: maximised window from y=$frame_top to $frame_bottom," \
            "not $((top + bar_height)) to $bottom"
    sleep 0.3
    shoot "panel-moves-$3"
}

# Moves the panel to p=$1 (6 the top, 8 the bottom) and waits until it is there, at $2.
move_panel() {
    xfconf-query -c xfce4-panel -p /panels/panel-1/position -s "p=$1;x=0;y=0"
    wait_until 10 panel_at "$2" || fail "the panel did not move to the $2"
}

# --- xfwm4 with the panel at the top: the bar below it.
start_x
start_bus
start_wm xfwm4
start_panel
wait_until 10 find_panel && wait_until 10 panel_at top || fail "no panel at the top"
geometry "$panel"
panel_height=$HEIGHT
start_clock
wait_for_bar '^pm [0-9:]{8}$'
xmessage -geometry 300x100+200+300 maximised 2>/dev/null &
pids+=($!)
wait_until 5 shown '^xmessage$' || fail "no window to maximise"
window=$(visible '^xmessage$')
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
bar_at "$panel_height" $screen_height top

# --- The panel moves to the bottom: the bar goes up to the screen's top, no strip above it.
move_panel 8 bottom
bar_at 0 $((screen_height - panel_height)) bottom
# The panel restarts there, as a new process (its window may have the old one's number): the bar
# stays.
xfce4-panel -r
panel_process() { xprop -id "$panel" _NET_WM_PID 2>/dev/null | sed -n 's/.*= //p'; }
new_panel() { find_panel && [ "$(panel_process)" != "$panel_pid" ] && panel_at bottom; }
wait_until 15 new_panel || fail "the panel did not come back at the bottom"
pids+=("$(panel_process)")
bar_at 0 $((screen_height - panel_height)) restarted

# --- Back to the top: the bar goes below the panel again, never over it.
move_panel 6 top
bar_at "$panel_height" $screen_height top-again

# --- At rest, the bar writes its strip no more: no placement loop.
timeout 4 xprop -id "$bar" -spy _NET_WM_STRUT_PARTIAL >"$work/spied" || true
[ "$(grep -c . "$work/spied")" -eq 1 ] || fail "the strip written again at rest: $(cat "$work/spied")"
! grep -q . "$work/err" || fail "xfwm4: standard error: $(cat "$work/err")"

# --- A new clock while xfwm4 has not yet heard that the old one is gone: the work area still
# holds the old bar's strip, which is no strip of the manager's own. The new bar goes below the
# panel, with no gap above it.
wm_pid=$wm_launched
kill -STOP "$wm_pid"
stop_clock "xfwm4"
start_clock
# The bar is named once it has read the desktop; a dock waits for the manager to be shown.
bar_pattern='^pm [0-9:]{8}$'
wait_until 10 find_bar
found=$?
kill -CONT "$wm_pid"
[ $found -eq 0 ] || fail "no bar while xfwm4 is stopped"
wait_for_bar "$bar_pattern"
bar_at "$panel_height" $screen_height "after-a-restart"
stop_clock "xfwm4, after a restart"

# --- No window manager, but a stale work area left on the root. First a manager that is only a
# window naming itself, as managers do: its work area counts, the bar is below its strip; when
# that window goes, the manager is gone and within a second the bar is at the screen's top.
start_x
xprop -root -f _NET_SUPPORTED 32a -set _NET_SUPPORTED _NET_WM_STRUT_PARTIAL
xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA 0,32,1280,768
xmessage -geometry 300x100+200+300 manager 2>/dev/null &
manager_pid=$!
pids+=("$manager_pid")
wait_until 5 shown '^xmessage$' || fail "no manager's window"
manager=$(visible '^xmessage$')
xprop -id "$manager" -f _NET_SUPPORTING_WM_CHECK 32x -set _NET_SUPPORTING_WM_CHECK "$manager"
xprop -root -f _NET_SUPPORTING_WM_CHECK 32x -set _NET_SUPPORTING_WM_CHECK "$manager"
start_clock
wait_for_bar '^pm [0-9:]{8}$'
bar_placed 32 "a manager's own strip"
shoot panel-moves-manager
kill "$manager_pid"
bar_placed 0 "the manager gone"
shoot panel-moves-manager-gone
stop_clock "the manager gone"
# Started after the manager went, its name left behind, and with no name at all.
for check in dead none; do
    if [ $check = none ]; then
        xprop -root -remove _NET_SUPPORTING_WM_CHECK
    fi
    start_clock
    wait_for_bar '^pm [0-9:]{8}$'
    bar_placed 0 "no manager ($check)"
    shoot "panel-moves-no-manager-$check"
    stop_clock "no manager ($check)"
done
# A panel without a manager keeps its strip all the same: the bar goes below it.
start_bus
start_panel
wait_until 10 find_panel && wait_until 10 panel_at top || fail "no panel at the top, no manager"
start_clock
wait_for_bar '^pm [0-9:]{8}$'
bar_placed "$panel_height" "a panel without a manager"
shoot panel-moves-no-manager-panel
stop_clock "a panel without a manager"
! grep -q . "$work/err" || fail "no manager: standard error: $(cat "$work/err")"
