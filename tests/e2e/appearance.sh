#!/usr/bin/env bash
# The clock's looks: the desktop's dark scheme reaches the bar, the popover and the settings
# window; German, Japanese and Arabic windows (Arabic at double scale, mirrored) fit, and the texts
# the clock relies on stay English. Screenshots of each land in the artefacts.
source "$(dirname "$0")/lib.sh"
vorelt=$1

# Mean brightness (0 to 1) of a region of the screen.
brightness() { import -window root -crop "$1" +repage -colorspace Gray -format '%[fx:mean]' info:; }

shoot() {  # name; $scale and $rtl say how the clock was started
    local name=$1
    wait_for_bar ':'
    local bar_width=$WIDTH
    # Right to left, the item sits at the bar's left end and Settings at the popover's right.
    [ "$rtl" = 1 ] && item_x=50
    click_item
    wait_until 3 popover_open || fail "$name: popover did not open"
    sleep 0.3
    import -window root "$artifacts/looks-$name-popover.png"
    bar_brightness=$(brightness "200x$((bar_height - 2))+0+0")
    geometry "$(xdotool search --onlyvisible --name '^Popover$' | head -n 1)"
    [ "$X" -ge 0 ] && [ $((X + WIDTH)) -le "$bar_width" ] || fail "$name: popover runs off the screen"
    [ "$X" -le "$item_x" ] && [ $((X + WIDTH)) -ge "$item_x" ] || fail "$name: popover not under the item"
    local settings_x=$((X + 45 * scale))
    [ "$rtl" = 1 ] && settings_x=$((X + WIDTH - 45 * scale))
    xdotool mousemove "$settings_x" $((Y + HEIGHT - 24 * scale)) click 1
    settings_open() { xdotool search --onlyvisible --name '^Settings$' >/dev/null 2>&1; }
    wait_until 5 settings_open || fail "$name: no settings window"
    grep -qx 'Settings selected' "$work/out" || fail "$name: the settings button did not report itself"
    sleep 0.3
    import -window "$(xdotool search --onlyvisible --name '^Settings$' | head -n 1)" \
        "$artifacts/looks-$name-settings.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

start_x 1920x1080x24
scale=1 rtl=0
GTK_THEME=Adwaita start_clock
shoot light
light=$bar_brightness

scale=2
GTK_THEME=Adwaita:dark LANG=de_DE.UTF-8 QT_SCALE_FACTOR=2 start_clock
shoot dark-de-x2
dark=$bar_brightness
echo "bar brightness: light $light, dark $dark"
awk -v l="$light" -v d="$dark" 'BEGIN { exit !(l > 0.7 && d < 0.3) }' ||
    fail "the bar does not follow the scheme: light $light, dark $dark"

scale=1
GTK_THEME=Adwaita LANG=ja_JP.UTF-8 start_clock
shoot ja
scale=2 rtl=1
GTK_THEME=Adwaita LANG=ar_EG.UTF-8 QT_SCALE_FACTOR=2 start_clock
shoot ar-x2
echo "PASS"
