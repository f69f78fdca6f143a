#!/usr/bin/env bash
# The clock in a real panel's tray, each started here from Debian's packages: GNOME Shell with its
# AppIndicator extension, Xfce's panel with the Ayatana indicator plugin, MATE's notification
# area ($2: gnome, indicator or mate). The time is read off the screen and ticks; the popover
# opens next to the item and an outside click closes it. Where a left click opens the item's menu
# (GNOME, Ayatana), the menu holds today's date, whose entry opens the popover, then Settings and
# Quit, which ends the clock; a middle click opens and closes the popover. In MATE's notification
# area every left click opens or closes it.
source "$(dirname "$0")/lib.sh"
host=$2
case $host in
    gnome) source "$(dirname "$0")/gnome_lib.sh" ;;
    *) source "$(dirname "$0")/indicator_lib.sh" ;;
esac

label_pattern='Now [0-9]{2}:[0-9]{2}:[0-9]{2}'
write_store '[General]' "dateFormat=\"'Now' HH:mm:ss\""
start_x
start_bus
case $host in
    gnome) start_gnome_shell ;;
    indicator) start_indicator_panel ;;
    mate) start_mate_panel ;;
esac
start_clock

# Sets item_x, item_y to the clock's item, and prints its label as read off the screen.
item_text() {
    case $host in
        gnome) gnome_item_box "$label_pattern" && gnome_tray_text | grep -oE "$label_pattern" ;;
        indicator) find_indicator_item "$label_pattern" && item_label ;;
        mate) find_mate_item "$label_pattern" && item_label ;;
    esac
}
on_screen() { item_text >/dev/null; }
wait_until 10 on_screen || fail "no item on the panel; stderr: $(cat "$work/err")"
first=$(item_text)
sleep 2
second=$(item_text)
[[ $first =~ ^$label_pattern$ && $second =~ ^$label_pattern$ && $first != "$second" ]] ||
    fail "the time on the panel does not tick: '$first', then '$second'"
[ -z "$(visible '^Now ')" ] || fail "a bar of its own beside the tray's item"
item_left=$item_x item_top=$item_y

# The popover lies below the panel, its arrow at the item.
popover_by_item() {
    popover=$(visible '^Popover$')
    geometry "$popover"
    ((Y >= item_top && Y <= item_top + 40 && X <= item_left && X + WIDTH >= item_left)) ||
        fail "$1: the popover at ${WIDTH}x$HEIGHT+$X+$Y is not by the item at $item_left,$item_top"
    sleep 0.3
    # The item and the popover, and nothing left of them: GNOME's clock is in its bar's middle.
    local left=$((X < item_left - 100 ? X : item_left - 100))
    left=$((left < screen_middle ? screen_middle : left))
    import -window root -crop "$((X + WIDTH - left))x$((Y + HEIGHT))+$left+0" +repage \
        "$artifacts/tray-$host-$2.png"
}
screen_middle=0
[ "$host" != gnome ] || screen_middle=$((gnome_tray_left))
outside_click() {
    xdotool mousemove 300 500 click 1
    wait_until 3 popover_closed || fail "an outside click left the popover open"
}
middle_click() { xdotool mousemove "$item_left" "$item_top" click 2; }
left_click() { xdotool mousemove "$item_left" "$item_top" click 1; }

if [ "$host" = mate ]; then
    for ((i = 1; i <= 10; i++)); do
        left_click
        if ((i % 2)); then
            wait_until 3 popover_open || fail "left click $i did not open the popover"
            popover_by_item "left click $i" "click-$i"
        else
            wait_until 3 popover_closed || fail "left click $i did not close the popover"
        fi
        sleep 0.6  # apart from the last click: no double click
    done
else
    left_click
    entries=$(case $host in gnome) gnome_menu_text ;; *) read_menu ;; esac)
    today=$(date '+%A, %B %-d, %Y')
    [ "$entries" = "$today"$'\n'Settings$'\n'Quit ] || fail "the item's menu reads: $entries"
    choose() {
        case $host in
            gnome) gnome_menu_click "$1" ;;
            *) find_menu && find_text "$1" "$X" "$Y" "$WIDTH" "$HEIGHT" &&
                xdotool mousemove "$item_x" "$item_y" click 1 ;;
        esac
    }
    choose "^$(date '+%A'),? $(date '+%B')"
    wait_until 3 popover_open || fail "the menu's date did not open the popover"
    popover_by_item "the menu's date" menu-date
fi
outside_click
middle_click
wait_until 3 popover_open || fail "a middle click did not open the popover"
popover_by_item "middle click" middle-click
sleep 0.6
middle_click
wait_until 3 popover_closed || fail "a second middle click did not close the popover"

# A double click sends Activate on GNOME: it opens and closes the popover as in MATE's area.
if [ "$host" = gnome ]; then
    sleep 0.6
    double_click() { xdotool mousemove "$item_left" "$item_top" click --repeat 2 --delay 150 1; }
    double_click
    wait_until 3 popover_open || fail "a double click did not open the popover"
    sleep 0.6
    double_click
    wait_until 3 popover_closed || fail "a second double click did not close the popover"
    sleep 0.6
fi

if [ "$host" = mate ]; then
    stop_clock
else
    left_click
    sleep 1
    choose '^Quit$'
    wait_until 5 ended || fail "the menu's Quit did not end the clock"
    wait "$pid" || fail "the menu's Quit: exit status $?"
fi

# The shell killed under the clock takes its tray along: the clock's own bar comes at the screen's
# top, not below the strip of the top bar that the shell's work area still holds.
if [ "$host" = gnome ]; then
    start_clock
    wait_until 10 on_screen || fail "no item on the panel the second time"
    { kill -KILL "$gnome_shell_pid" && wait "$gnome_shell_pid"; } 2>/dev/null || true
    wait_for_bar '^Now '
    placed_at_top() { geometry "$bar" && [ "$X" -eq 0 ] && [ "$Y" -eq 0 ] && [ "$WIDTH" -eq "$screen_w" ]; }
    wait_until 2 placed_at_top || fail "with the shell gone, the bar is at ${WIDTH}x$HEIGHT+$X+$Y"
    import -window root -crop "400x$((HEIGHT + 10))+$((screen_w - 400))+0" +repage \
        "$artifacts/tray-gnome-shell-gone.png"
    stop_clock "the shell gone"
fi
