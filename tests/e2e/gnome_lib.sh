# GNOME Shell 43 with its AppIndicator extension as the tray host of a test, on the test's Xvfb
# and session bus. Sourced after lib.sh, whose start_x and start_bus come first.
#
# The shell's top bar has its own clock in the centre: nothing here reads, clicks or keeps a
# picture of it. Reads of the bar are of its right part only (from gnome_tray_left), and pictures
# kept are crops of the item or of its menu: lib.sh's shoot, which keeps the whole screen, is not
# for these tests.
set -euo pipefail

gnome_extension=ubuntu-appindicators@ubuntu.com

# Starts a system bus of the test's own, with no services, and exports its address: the shell
# asks logind, accounts and others there, and none answers.
start_system_bus() {
    [ -z "${system_bus_pid:-}" ] || return 0
    cat >"$work/system-bus.conf" <<XML
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$work/system-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
XML
    start_server dbus-daemon --config-file="$work/system-bus.conf" --nofork --print-address=3
    system_bus_pid=$server
    export DBUS_SYSTEM_BUS_ADDRESS=$address
}

# Prints the value of the org.gnome.Shell property $1, as gdbus does: (<true>,).
shell_property() {
    gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.freedesktop.DBus.Properties.Get org.gnome.Shell "$1" 2>/dev/null
}
overview_hidden() { shell_property OverviewActive | grep -q false; }
# Starts GNOME Shell on $DISPLAY with the AppIndicator extension, leaves the overview it starts
# in, and waits until its StatusNotifierWatcher is on the session bus. Sets `gnome_shell_pid`,
# `screen_w`, `screen_h`, `bar_height`, `gnome_tray_left`, `gnome_tray_right` and
# `gnome_start_seconds`; the shell's log is $work/gnome-shell.log.
start_gnome_shell() {
    local t0=${EPOCHREALTIME/./} us
    if [ -z "${DISPLAY:-}" ] || [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
        fail "start_x and start_bus first"
    fi
    start_system_bus
    mkdir -p "$XDG_CONFIG_HOME/glib-2.0/settings" "$work/xdg"
    # No animations (the overview leaves at once), no hot corner for a pointer that passes the top
    # left, no banners over the bar (root gets one at every start), no welcome tour.
    cat >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile" <<KEYFILE
[org/gnome/shell]
enabled-extensions=['$gnome_extension']
disable-user-extensions=false
welcome-dialog-last-shown-version='999'

[org/gnome/desktop/interface]
enable-animations=false
enable-hot-corners=false

[org/gnome/desktop/notifications]
show-banners=false
KEYFILE
    # The settings from that keyfile alone; no accessibility bus, whose launcher the session bus
    # would start and which would outlive the test.
    rm -f "$work/gnome-shell.log"  # no "started" of a shell before
    GSETTINGS_BACKEND=keyfile XDG_CONFIG_DIRS=$work/xdg \
        AT_SPI_BUS_ADDRESS=unix:path=$work/no-a11y-bus \
        gnome-shell --x11 --sm-disable >"$work/gnome-shell.log" 2>&1 &
    gnome_shell_pid=$!
    pids+=("$gnome_shell_pid")
    # Logged once the start-up is complete, after which the extension shows items.
    shell_started() { grep -qs 'GNOME Shell started' "$work/gnome-shell.log"; }
    wait_until 60 shell_started ||
        fail "GNOME Shell did not start: $(tail -n 30 "$work/gnome-shell.log")"
    xdotool key Escape
    wait_until 10 overview_hidden || fail "the overview did not leave"
    wait_until 10 host_registered ||
        fail "no StatusNotifierWatcher: $(tail -n 30 "$work/gnome-shell.log")"
    read -r screen_w screen_h < <(xdotool getdisplaygeometry)
    # The bar is black to its bottom edge; measured where, right of the centre, no item is yet.
    gnome_tray_left=$((screen_w * 60 / 100))
    bar_height=$(import -window root -crop "1x80+$gnome_tray_left+0" +repage txt:- |
        awk 'NR > 1 && $NF != "black" && $3 != "#000000" { print NR - 2; exit }')
    [ "${bar_height:-0}" -gt 10 ] || fail "no top bar found"
    # Short of the system menu at the far right.
    gnome_tray_right=$((screen_w - 44))
    us=$((${EPOCHREALTIME/./} - t0))
    gnome_start_seconds=$(printf '%d.%02d' $((us / 1000000)) $((us % 1000000 / 10000)))
}

# Reads the text in the screen's rectangle X Y W H: prints it line by line, and writes its words to
# $work/ocr.words as "x y w h confidence line text", in screen pixels. The top bar is read only
# right of gnome_tray_left.
ocr_region() {
    if [ "$2" -lt "$bar_height" ] && [ "$1" -lt "$gnome_tray_left" ]; then
        fail "ocr_region $*: the top bar is read right of its centre only"
    fi
    ocr_x=$1 ocr_y=$2
    import -window root -crop "${3}x$4+$1+$2" +repage "$work/ocr.png"
    ocr_read 300
}

# Reads the picture that ocr_region took, enlarged $1 percent. Tesseract reads the shell's small
# light-on-dark text best three times larger, negated and in black and white; the threshold keeps
# the grey of a menu's disabled entries black.
ocr_read() {
    convert "$work/ocr.png" -resize "$1%" -colorspace gray -negate -threshold 60% \
        "$work/ocr-big.png"
    tesseract "$work/ocr-big.png" "$work/ocr" --psm 6 tsv >/dev/null 2>&1
    # Level 5 rows are words; block, paragraph and line number make a line's key.
    awk -F'\t' -v x0="$ocr_x" -v y0="$ocr_y" -v s="$1" '
        NR > 1 && $1 == 5 && $12 ~ /[^ ]/ {
            printf "%d %d %d %d %d %s.%s.%s %s\n", x0 + $7 * 100 / s, y0 + $8 * 100 / s,
                $9 * 100 / s + 1, $10 * 100 / s + 1, $11, $3, $4, $5, $12
        }' "$work/ocr.tsv" >"$work/ocr.words"
    awk '$6 != key { if (NR > 1) print text; key = $6; text = $7; next }
         { text = text " " $7 }
         END { if (NR) print text }' "$work/ocr.words"
}

# ocr_find on what ocr_region read, or else on a second reading four times larger, which gets
# right most of what the first gets wrong (a bold "J" as "j", say).
ocr_find_twice() {
    ocr_find "$1" || { ocr_read 400 >/dev/null && ocr_find "$1"; }
}

# Finds the text matching the extended regular expression $1 (within one line) among the words that
# ocr_region last wrote; sets box_x, box_y, box_w, box_h to the matched words' bounding box.
ocr_find() {
    # Bytes throughout: grep's offsets, awk's lengths and bash's.
    local LC_ALL=C key text match from found
    while IFS=$'\t' read -r key text; do
        match=$(printf '%s\n' "$text" | grep -obE -m 1 -- "$1" | head -n 1) || continue
        from=${match%%:*} match=${match#*:}
        # The box of the words that the match overlaps.
        found=$(awk -v key="$key" -v from="$from" -v to=$((from + ${#match})) '
            $6 != key { next }
            { s = at; at += length($7) + 1 }
            s < to && s + length($7) > from {
                if (!n++ || $1 < x1) x1 = $1; if (n == 1 || $2 < y1) y1 = $2
                if ($1 + $3 > x2) x2 = $1 + $3; if ($2 + $4 > y2) y2 = $2 + $4
            }
            END { if (n) print x1, y1, x2 - x1, y2 - y1 }' "$work/ocr.words")
        [ -n "$found" ] || continue
        read -r box_x box_y box_w box_h <<<"$found"
        return 0
    done < <(awk '$6 != key { if (NR > 1) print key "\t" text; key = $6; text = $7; next }
                  { text = text " " $7 }
                  END { if (NR) print key "\t" text }' "$work/ocr.words")
    return 1
}

# Prints the text of the bar right of its centre: the tray's items.
gnome_tray_text() {
    ocr_region "$gnome_tray_left" 0 $((gnome_tray_right - gnome_tray_left)) "$bar_height"
}

# Finds the tray item whose text matches the regular expression $1 (e.g. its label; words are
# single-spaced), sets box_* as ocr_find does and item_x, item_y to the box's centre, for
# click_item; fails (status 1) if it is not there, so that `wait_until` can wait for it.
gnome_item_box() {
    gnome_tray_text >/dev/null
    ocr_find_twice "$1" || return 1
    item_x=$((box_x + box_w / 2)) item_y=$((box_y + box_h / 2))
    item_box="$box_x $box_y $box_w $box_h"
}

# The open menu (a popup below the bar, on GNOME's dark grey #303030): sets menu_x, menu_y, menu_w,
# menu_h to its box; fails if none is open.
gnome_menu_box() {
    local geometry
    import -window root -crop "${screen_w}x$((screen_h - bar_height))+0+$bar_height" +repage \
        "$work/below.png"
    # Menu grey in black on white; the bounding box of what differs from the white corners.
    convert "$work/below.png" -fuzz 2% -fill black -opaque '#303030' -fill white +opaque black \
        "$work/below-grey.png"
    geometry=$(convert "$work/below-grey.png" -format '%@' info: 2>/dev/null)
    [[ $geometry =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
    menu_w=${BASH_REMATCH[1]} menu_h=${BASH_REMATCH[2]}
    menu_x=${BASH_REMATCH[3]} menu_y=$((BASH_REMATCH[4] + bar_height))
    [ "$menu_w" -gt 40 ] && [ "$menu_h" -gt 20 ] && [ "$menu_w" -lt "$screen_w" ] || return 1
    # Mostly that grey: not the dark text of another window, such as the clock's own popover.
    [ "$(convert "$work/below-grey.png" -crop "$geometry" -format '%[fx:mean < 0.5]' info:)" = 1 ]
}
# Prints the open menu's entries, one a line (a separator is no line). Read within its rounded
# corners, which tesseract takes for letters.
gnome_menu_text() {
    gnome_menu_box || fail "no menu open"
    ocr_region $((menu_x + 10)) $((menu_y + 8)) $((menu_w - 20)) $((menu_h - 16))
}

# Clicks the entry of the open menu that matches the regular expression $1.
gnome_menu_click() {
    gnome_menu_text >"$work/menu.txt"
    ocr_find_twice "$1" || fail "no menu entry like $1 in: $(tr '\n' '|' <"$work/menu.txt")"
    xdotool mousemove $((box_x + box_w / 2)) $((box_y + box_h / 2)) click 1
}

