# Real tray hosts for the clock's StatusNotifierItem, sourced after lib.sh: Xfce's panel with the
# indicator plugin and Ayatana's application service, and MATE's panel with its notification area;
# and reading the screen by OCR to find an item, its label and its open menu.
set -euo pipefail

indicator_service=/usr/libexec/ayatana-indicator-application/ayatana-indicator-application-service
mate_applet=/usr/lib/mate-panel/notification-area-applet

# The process id of the owner of bus name $1, empty if none.
bus_owner_pid() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID "string:$1" 2>/dev/null |
        awk '/uint32/ { print $2 }'
}

# Whether the watcher is owned by process $1 and a host is registered with it.
watcher_ready() { [ "$(bus_owner_pid org.kde.StatusNotifierWatcher)" = "$1" ] && host_registered; }

# Ends process $1, started here, and takes it out of `pids`.
stop_pid() {
    local kept=() p
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
    for p in "${pids[@]}"; do
        [ "$p" = "$1" ] || kept+=("$p")
    done
    pids=("${kept[@]}")
}

# Exports the settings of the hosts, and the assignments given, to the bus's activated helpers
# (xfconfd, MATE's applet) too: they take the bus's environment, not ours. No configuration of the
# system's (XDG_CONFIG_DIRS): its default panels have a clock.
host_environment() {
    local setting
    export XDG_CONFIG_DIRS=$work/xdg NO_AT_BRIDGE=1 GTK_A11Y=none
    for setting in "$@"; do
        export "${setting?}"
    done
    mkdir -p "$XDG_CONFIG_DIRS"
    dbus-update-activation-environment XDG_CONFIG_DIRS NO_AT_BRIDGE GTK_A11Y "${@%%=*}" \
        XDG_CONFIG_HOME XDG_RUNTIME_DIR DISPLAY
}

# Starts xfwm4, Ayatana's application service (the watcher) and an Xfce panel along the top whose
# one plugin shows indicators, and waits until the service owns the watcher with a host on it.
# Sets `panel_pid` and `service_pid`. Wants a bus of its own on which xfconfd has not started yet.
start_indicator_panel() {
    host_environment
    start_wm xfwm4
    xfce_panel_config indicator
    # The service says a host is there from its start: the plugin is ready once it has asked the
    # service for the items, which a monitor of the bus sees.
    dbus-monitor --session "type='method_call',member='GetApplications'" >"$work/plugin-calls.log" &
    local monitor=$!
    pids+=("$monitor")
    monitor_on() { grep -qs 'member=NameLost' "$work/plugin-calls.log"; }
    wait_until 10 monitor_on || fail "dbus-monitor did not start"
    "$indicator_service" >"$work/indicator-service.log" 2>&1 &
    service_pid=$!
    pids+=("$service_pid")
    xfce4-panel --disable-wm-check >"$work/panel.log" 2>&1 &
    panel_pid=$!
    pids+=("$panel_pid")
    plugin_ready() { grep -qs 'member=GetApplications' "$work/plugin-calls.log"; }
    wait_until 20 plugin_ready ||
        fail "the indicator plugin did not start: $(cat "$work/panel.log")"
    stop_pid "$monitor"
    wait_until 20 watcher_ready "$service_pid" ||
        fail "no indicator host: $(cat "$work/panel.log" "$work/indicator-service.log")"
}

# Sets X, Y, WIDTH and HEIGHT to the panel's plug window named like $1, which holds a plugin's or
# applet's items, when it is shown.
plug_area() {
    local w
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        geometry "$w"
        [ "$Y" -eq 0 ] && [ "$WIDTH" -gt 1 ] && return 0
    done
    return 1
}
# The indicator plugin's, each item an icon and its label; MATE's notification area's.
indicator_area() { plug_area '^wrapper-2.0$'; }
notification_area() { plug_area '^notification-area-applet$'; }

# Prints the words that tesseract reads in the screen's rectangle $1 $2 $3 $4 (x, y, width,
# height), one a line as "left top width height text" in screen pixels; $5, more options of
# convert, as -negate for light text on a dark panel. The crop is enlarged twice (ocr_scale), in
# grey: the panels' text, 9 pixels high, reads worse at its own size and, short as "12:57", at 3.
ocr_words() {
    local shot=$work/ocr-$$.png
    (($3 > 0 && $4 > 0)) || return 0  # import would take the whole screen
    import -window root -crop "$3x$4+$1+$2" +repage "$shot"
    # shellcheck disable=SC2086
    convert "$shot" -colorspace Gray ${5:-} -resize "${ocr_scale:-2}00%" "$shot"
    tesseract "$shot" - --psm "${ocr_psm:-11}" tsv 2>/dev/null |
        awk -F'\t' -v x="$1" -v y="$2" -v s="${ocr_scale:-2}" '
            NR > 1 && $1 == 5 && $12 ~ /[^ ]/ {
                printf "%d %d %d %d %s\n", x + $7 / s, y + $8 / s,
                    ($9 + s - 1) / s, ($10 + s - 1) / s, $12
            }'
}

# Prints the text of the screen's rectangle $1 $2 $3 $4, read as one line ($5 as ocr_words).
ocr_region() { ocr_psm=7 ocr_words "$@" | cut -d' ' -f5- | paste -sd' '; }

# Sets text_x, text_y, text_w and text_h to the box of the words, read in the rectangle $2 $3 $4
# $5, whose text joined by spaces matches the extended regular expression $1, whatever the case
# (which OCR mistakes most), and item_x, item_y to its middle; fails when none does.
find_text() {
    local regex=$1 i=0 j k text right bottom
    local -a left top width height words
    shift
    while read -r 'left[i]' 'top[i]' 'width[i]' 'height[i]' 'words[i]'; do
        i=$((i + 1))
    done < <(ocr_words "$@")
    for ((i = 0; i < ${#words[@]}; i++)); do
        text=
        for ((j = i; j < ${#words[@]} && j < i + 8; j++)); do
            text+=${text:+ }${words[j]}
            shopt -s nocasematch
            [[ $text =~ $regex ]] || { shopt -u nocasematch; continue; }
            shopt -u nocasematch
            text_x=${left[i]} text_y=${top[i]}
            right=$((left[i] + width[i])) bottom=$((top[i] + height[i]))
            for ((k = i + 1; k <= j; k++)); do
                text_x=$((left[k] < text_x ? left[k] : text_x))
                text_y=$((top[k] < text_y ? top[k] : text_y))
                right=$((left[k] + width[k] > right ? left[k] + width[k] : right))
                bottom=$((top[k] + height[k] > bottom ? top[k] + height[k] : bottom))
            done
            text_w=$((right - text_x)) text_h=$((bottom - text_y))
            item_x=$((text_x + text_w / 2)) item_y=$((text_y + text_h / 2))
            return 0
        done
    done
    return 1
}

# Finds the indicator item whose label matches $1 (as find_text), an icon and its label; sets
# `label_x` to the left of its label's place, and `item_area` for item_label. The icon, a square
# as high as the panel, spoils the reading of the words beside it (in 1 label in 7, "Mon" read
# "mon" or "©on"): the first item's label is read without it, the others' with it. The label is
# centred in the width of its guide (XAyatanaLabelGuide), so its text moves as it changes.
find_indicator_item() {
    indicator_area || return 1
    label_x=$((X + HEIGHT - 3)) item_area=indicator_area
    ocr_psm=7 find_text "$1" "$label_x" "$Y" "$((WIDTH - HEIGHT + 3))" "$HEIGHT" && return 0
    find_text "$1" "$X" "$Y" "$WIDTH" "$HEIGHT" || return 1
    label_x=$((text_x - 3))
}

# Prints the label of the item found last, read from its left to the end of the area, which grows
# and shrinks with the label: the area's one item, or its last.
item_label() {
    "$item_area" || return 1
    ocr_region "$label_x" "$Y" "$((X + WIDTH - label_x))" "$HEIGHT"
}

# Sets `menu` to the open menu's window, and X, Y, WIDTH and HEIGHT to its geometry; fails when
# no menu is open.
find_menu() {
    local w
    for w in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
        xwininfo -id "$w" 2>/dev/null | grep -q 'IsViewable' || continue
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null |
            grep -qE '_NET_WM_WINDOW_TYPE_(POPUP_|DROPDOWN_)?MENU' || continue
        menu=$w
        geometry "$menu"
        return 0
    done
    return 1
}

# Prints the entries of the menu that opens within 3 seconds, one a line, read by OCR; fails when
# none opens.
read_menu() {
    wait_until 3 find_menu || return 1
    # The pointer away from the item, whose tooltip would cover the menu, and from the entries,
    # which it would highlight; the menu is drawn after it is mapped.
    xdotool mousemove "$(($(xdotool getdisplaygeometry | cut -d' ' -f1) - 1))" \
        "$(($(xdotool getdisplaygeometry | cut -d' ' -f2) - 1))"
    sleep 0.5
    geometry "$menu"
    ocr_psm=6 ocr_words "$X" "$Y" "$WIDTH" "$HEIGHT" | awk '
        # Words are in reading order; a line starts where a word is well below the last one.
        { if (NR > 1 && $2 > top + $4 / 2) { print line; line = "" }
          top = $2; sub(/^[^ ]+ [^ ]+ [^ ]+ [^ ]+ /, ""); line = line (line == "" ? "" : " ") $0 }
        END { if (line != "") print line }'
}

# Starts openbox and a MATE panel along the top whose one object is the notification area, and
# waits until its applet, started by the bus, owns the watcher with a host on it. Sets `panel_pid`
# and `applet_pid`. The panel's settings are a keyfile of our own: its default layout has a clock.
start_mate_panel() {
    host_environment GSETTINGS_BACKEND=keyfile
    start_wm openbox
    mkdir -p "$XDG_CONFIG_HOME/glib-2.0/settings"
    cat >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile" <<'KEYFILE'
[org/mate/panel/general]
toplevel-id-list=['top']
object-id-list=['tray']

[org/mate/panel/toplevels/top]
orientation='top'
expand=true
size=28

[org/mate/panel/objects/tray]
object-type='applet'
applet-iid='NotificationAreaAppletFactory::NotificationArea'
toplevel-id='top'
position=0
locked=true
KEYFILE
    mate-panel >"$work/panel.log" 2>&1 &
    panel_pid=$!
    pids+=("$panel_pid")
    a_watcher() { [ -n "$(bus_owner_pid org.kde.StatusNotifierWatcher)" ]; }
    wait_until 20 a_watcher || fail "no notification area: $(cat "$work/panel.log")"
    applet_pid=$(bus_owner_pid org.kde.StatusNotifierWatcher)
    [ "$(tr '\0' '\n' <"/proc/$applet_pid/cmdline" | head -n 1)" = "$mate_applet" ] ||
        fail "another watcher: $(tr '\0' ' ' <"/proc/$applet_pid/cmdline")"
    pids+=("$applet_pid")  # the bus started it for our panel
    wait_until 20 watcher_ready "$applet_pid" || fail "no host on the notification area's watcher"
    # The panel has asked for its applets by now: the notification area's must be the only one.
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.ListNames | grep -o '"org\.mate\.panel\.applet\.[^"]*"' |
        grep -vx '"org.mate.panel.applet.NotificationAreaAppletFactory"' &&
        fail "another applet in the MATE panel"
    return 0
}

# Finds the notification area's item whose label matches $1 (as find_text). The area draws the
# labels of its items side by side with no space nor icon: the pattern, unanchored, finds an item
# after another, whose label is then in the box. Sets `label_x` and `item_area` for item_label.
find_mate_item() {
    notification_area || return 1
    find_text "$1" "$X" "$Y" "$WIDTH" "$HEIGHT" || return 1
    # Not a pixel to the left of the area: the panel's handle there reads as a quote.
    label_x=$((text_x - 3 < X ? X : text_x - 3)) item_area=notification_area
}
