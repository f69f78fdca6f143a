#!/usr/bin/env bash
# The clock's looks: the desktop's dark scheme reaches the bar, the popover and the settings
# window; German dates at double scale fit. Screenshots of each land in the artefacts.
source "$(dirname "$0")/lib.sh"
vorelt=$1

# Mean brightness (0 to 1) of a region of the screen.
brightness() { import -window root -crop "$1" +repage -colorspace Gray -format '%[fx:mean]' info:; }

shoot() {  # name
    local name=$1
    wait_for_bar '(AM|PM)$'
    local bar_width=$WIDTH
    click_item
    wait_until 3 popover_open || fail "$name: popover did not open"
    sleep 0.3
    import -window root "$artifacts/looks-$name-popover.png"
    echo "$name bar brightness $(brightness "200x$((bar_height - 2))+0+0")"
    geometry "$(xdotool search --onlyvisible --name '^Popover$' | head -n 1)"
    [ $((X + WIDTH)) -le "$bar_width" ] || fail "$name: popover runs off the screen"
    xdotool mousemove $((X + 45 * scale)) $((Y + HEIGHT - 24 * scale)) click 1
    settings_open() { xdotool search --onlyvisible --name '^Settings$' >/dev/null 2>&1; }
    wait_until 5 settings_open || fail "$name: no settings window"
    sleep 0.3
    import -window "$(xdotool search --onlyvisible --name '^Settings$' | head -n 1)" \
        "$artifacts/looks-$name-settings.png"
}

start_x 1920x1080x24
scale=1
GTK_THEME=Adwaita start_clock
shoot light
light=$(brightness "200x20+0+0")
kill "$pid"; wait "$pid" 2>/dev/null || true

scale=2
GTK_THEME=Adwaita:dark LANG=de_DE.UTF-8 QT_SCALE_FACTOR=2 start_clock
shoot dark-de-x2
dark=$(brightness "200x20+0+0")
echo "bar brightness: light $light, dark $dark"
awk -v l="$light" -v d="$dark" 'BEGIN { exit !(l > 0.7 && d < 0.3) }' ||
    fail "the bar does not follow the scheme: light $light, dark $dark"
echo "PASS"
