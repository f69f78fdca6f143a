#!/usr/bin/env bash
# The clock's looks: the desktop's dark scheme reaches the bar, the popover and the settings
# window; German, Japanese and Arabic windows (Arabic at double scale, mirrored) fit. Screenshots of
# each land in the artefacts.
source "$(dirname "$0")/lib.sh"

# Starts the clock with the variables given, in look $1 at scale $2, right to left if $3 is 1;
# shoots the popover and the settings window and sets `brightness` to the bar's (0 to 1).
shoot_look() {
    local name=$1 rtl=$3
    local -x QT_SCALE_FACTOR=$2 "${@:4}"
    scale=$2
    start_clock
    wait_for_bar ':'
    local bar_width=$WIDTH
    # Right to left, the item sits at the bar's left end and Settings at the popover's right.
    [ "$rtl" = 0 ] || item_x=50
    open_popover "$name"
    sleep 0.3
    shoot "looks-$name-popover"
    brightness=$(import -window root -crop "200x$((bar_height - 2))+0+0" +repage -colorspace Gray \
        -format '%[fx:mean]' info:)
    geometry "$popover"
    ((X >= 0 && X + WIDTH <= bar_width)) || fail "$name: popover runs off the screen"
    ((X <= item_x && X + WIDTH >= item_x)) || fail "$name: popover not under the item"
    click_item
    wait_until 3 popover_closed || fail "$name: popover did not close"
    open_settings "$([ "$rtl" = 0 ] && echo '45 * scale' || echo 'WIDTH - 45 * scale')"
    sleep 0.3
    import -window "$(visible '^Settings$')" "$artifacts/looks-$name-settings.png"
    stop_clock "$name"
}

start_x 1920x1080x24
shoot_look light 1 0 GTK_THEME=Adwaita
light=$brightness
shoot_look dark-de-x2 2 0 GTK_THEME=Adwaita:dark LANG=de_DE.UTF-8
awk -v l="$light" -v d="$brightness" 'BEGIN { exit !(l > 0.7 && d < 0.3) }' ||
    fail "the bar does not follow the scheme: light $light, dark $brightness"
shoot_look ar-x2 2 1 GTK_THEME=Adwaita LANG=ar_EG.UTF-8

# On a GTK desktop, Qt's GTK platform theme starts GTK, whose display would load a GL driver (with
# LLVM, some 10 MB) that a theme never uses.
XDG_CURRENT_DESKTOP=GNOME GTK_THEME=Adwaita start_clock
wait_for_bar ':'
grep -q libqgtk3 "/proc/$pid/maps" || fail "no GTK platform theme on a GTK desktop"
! grep -qE 'libLLVM|_dri\.so' "/proc/$pid/maps" || fail "GTK's display loaded a GL driver"
stop_clock "GTK's platform theme"
