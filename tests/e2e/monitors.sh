#!/usr/bin/env bash
# Screens that change under a running clock, with a window manager: within a second of the X
# server reporting a monitor split off, the primary monitor changed, monitors joined again or a new
# resolution, the bar and its reserved strip span the primary monitor, and the popover opens under
# the item on the item's monitor, whichever monitor that is; an open popover closes when the
# monitors swap. Standard output stays empty beside the bar.
source "$(dirname "$0")/lib.sh"

start_x 2560x800x24
start_wm openbox
write_store '[General]' "dateFormat=\"'mon' HH:mm:ss\""
xrandr --newmode 1920x800 100 1920 1930 1940 1950 800 801 802 803
xrandr --addmode screen 1920x800

# The monitors the X server reports, sorted, the primary one marked: "*LEFT 1280x800+0+0 ...".
monitors() {
    xrandr --current --listmonitors |
        sed -nE 's|^ *[0-9]+: \+?(\*?[^ ]+) ([0-9]+)/[0-9]+x([0-9]+)/[0-9]+(\+[0-9]+\+[0-9]+).*|\1 \2x\3\4|p' |
        sort | paste -sd ' '
}

# Runs xrandr with the arguments after $1 and waits until the X server reports the monitors $1;
# the bar's second counts from then, in `changed_at`.
change_to() {
    local expected=$1
    shift
    xrandr "$@" >/dev/null
    reported() { [ "$(monitors)" = "$expected" ]; }
    wait_until 10 reported || fail "the X server reports '$(monitors)', not '$expected'"
    changed_at=${EPOCHREALTIME/./}
}

# A clock starts on a settled desktop: one whole monitor, whose work area the window manager gives
# back in full once the last clock's strip and resolution are gone.
settled() {
    [ "$(monitors)" = "screen 2560x800+0+0" ] &&
        xprop -root _NET_WORKAREA | grep -Eq '= 0, 0, 2560, 800(,|$)'
}

# Waits for the bar and its strut from x $1, $2 wide, within a second of the change if one was made;
# then, given a name $4, opens the popover from the item at the bar's right end and expects it under
# the item, on the monitor.
bar_spans() {
    local x=$1 width=$2 took
    placed() {
        geometry "$bar"
        [ "$X" -eq "$x" ] && [ "$Y" -eq 0 ] && [ "$WIDTH" -eq "$width" ] && [ "$HEIGHT" -lt $((40 * scale)) ] &&
            xprop -id "$bar" _NET_WM_STRUT_PARTIAL |
            grep -Eq "= 0, 0, [1-9][0-9]*, 0, 0, 0, 0, 0, $x, $((x + width - 1)), 0, 0$"
    }
    # Long enough to tell a late bar from one that does not follow.
    wait_until 10 placed || fail "$3: bar ${WIDTH}x${HEIGHT}+$X+$Y, $(xprop -id "$bar" _NET_WM_STRUT_PARTIAL)"
    if [ -n "$changed_at" ]; then
        took=$(((${EPOCHREALTIME/./} - changed_at) / 1000))
        ((took <= 1000)) || fail "$3: the bar followed after $took ms"
    fi
    [ -n "${4:-}" ] || return 0
    item_x=$((X + WIDTH - 50))
    open_popover "$3"
    geometry "$popover"
    ((X >= x && X + WIDTH <= x + width && X <= item_x && X + WIDTH >= item_x)) ||
        fail "$3: popover not under the item on its monitor"
    ((Y >= bar_height - 2 && Y <= bar_height + 4)) || fail "$3: popover not below the bar"
    shoot "monitors-$4"
    click_item
    wait_until 3 popover_closed || fail "$3: popover did not close"
}

# At double scale too: a screen keeps its position in the display's pixels.
for scale in 1 2; do
    wait_until 10 settled || fail "x$scale: no settled desktop: $(monitors), $(xprop -root _NET_WORKAREA)"
    QT_SCALE_FACTOR=$scale start_clock
    wait_for_bar '^mon [0-9:]{8}$'
    changed_at=
    bar_spans 0 2560 "x$scale, one monitor"
    change_to "*LEFT 1280x800+0+0 RIGHT 1280x800+1280+0" \
        --setmonitor '*LEFT' 1280/338x800/211+0+0 screen --setmonitor RIGHT 1280/338x800/211+1280+0 none
    bar_spans 0 1280 "x$scale, left primary" "left-x$scale"
    # The monitors swap under an open popover: it does not stay behind, pointing at nothing.
    open_popover "x$scale, before the swap"
    change_to "*RIGHT 1280x800+1280+0 LEFT 1280x800+0+0" \
        --delmonitor RIGHT --setmonitor '*RIGHT' 1280/338x800/211+1280+0 none
    wait_until 1 popover_closed || fail "x$scale: the popover stayed open on the monitor it left"
    bar_spans 1280 1280 "x$scale, right primary" "right-x$scale"
    change_to "screen 2560x800+0+0" --delmonitor RIGHT --delmonitor LEFT
    bar_spans 0 2560 "x$scale, joined again"
    change_to "screen 1920x800+0+0" --output screen --mode 1920x800
    bar_spans 0 1920 "x$scale, new resolution"
    change_to "screen 2560x800+0+0" --output screen --mode 2560x800
    stop_clock "x$scale"
    ! grep -q . "$work/out" || fail "x$scale: output beside the bar: $(cat "$work/out")"
done
