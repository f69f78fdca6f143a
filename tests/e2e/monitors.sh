#!/usr/bin/env bash
# Screens that change under a running clock, with a window manager: within a second of a monitor
# split off, the primary monitor changed, monitors joined again or a new resolution, the bar and
# its reserved strip span the primary monitor, and the popover opens under the item on the item's
# monitor, whichever monitor that is. Standard output stays empty beside the bar.
source "$(dirname "$0")/lib.sh"

start_x 2560x800x24
start_wm openbox
write_store '[General]' "dateFormat=\"'mon' HH:mm:ss\""
xrandr --newmode 1920x800 100 1920 1930 1940 1950 800 801 802 803
xrandr --addmode screen 1920x800

# Waits up to a second for the bar and its strut from x $1, $2 wide; then, given a name $4, opens
# the popover from the item at the bar's right end and expects it under the item, on the monitor.
bar_spans() {
    local x=$1 width=$2
    placed() {
        geometry "$bar"
        [ "$X" -eq "$x" ] && [ "$Y" -eq 0 ] && [ "$WIDTH" -eq "$width" ] && [ "$HEIGHT" -lt $((40 * scale)) ] &&
            xprop -id "$bar" _NET_WM_STRUT_PARTIAL |
            grep -Eq "= 0, 0, [1-9][0-9]*, 0, 0, 0, 0, 0, $x, $((x + width - 1)), 0, 0$"
    }
    wait_until 1 placed || fail "$3: bar ${WIDTH}x${HEIGHT}+$X+$Y, $(xprop -id "$bar" _NET_WM_STRUT_PARTIAL)"
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
    QT_SCALE_FACTOR=$scale start_clock
    wait_for_bar '^mon [0-9:]{8}$'
    bar_spans 0 2560 "x$scale, one monitor"
    xrandr --setmonitor '*LEFT' 1280/338x800/211+0+0 screen \
        --setmonitor RIGHT 1280/338x800/211+1280+0 none >/dev/null
    bar_spans 0 1280 "x$scale, left primary" "left-x$scale"
    xrandr --delmonitor RIGHT --setmonitor '*RIGHT' 1280/338x800/211+1280+0 none
    bar_spans 1280 1280 "x$scale, right primary" "right-x$scale"
    xrandr --delmonitor RIGHT --delmonitor LEFT
    bar_spans 0 2560 "x$scale, joined again"
    xrandr --output screen --mode 1920x800
    bar_spans 0 1920 "x$scale, new resolution"
    xrandr --output screen --mode 2560x800
    stop_clock "x$scale"
    ! grep -q . "$work/out" || fail "x$scale: output beside the bar: $(cat "$work/out")"
done
