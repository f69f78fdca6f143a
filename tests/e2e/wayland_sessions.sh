#!/usr/bin/env bash
# The clock in Wayland sessions, started here from Debian's packages, headless; $2 chooses:
#   sway-xwayland  sway with waybar's tray (a StatusNotifierWatcher host that shows icons), the
#                  clock through XWayland: a click on its icon opens the popover next to the icon,
#                  below the panel; a click on the panel's empty part closes it, as does another on
#                  the icon. Asked into its own bar, the bar lies below the panel, readable, and the
#                  clock says once that the window manager keeps no room for it.
#   sway-native    the same desktop without DISPLAY: the clock is a Wayland client, in waybar's
#                  tray, with nothing on standard error but the advice an icon-only tray calls for.
#   weston         no tray: as a Wayland client (by itself, and with QT_QPA_PLATFORM=wayland) no
#                  window and the advice alone; through XWayland, asked into its bar, the bar spans
#                  the screen from its top left corner.
# $3 is the virtual pointer (tests/support/virtual_pointer.cpp). sway refuses root: as root, the
# session's programs and the clock run as the unprivileged user nobody.
source "$(dirname "$0")/lib.sh"
session_kind=$2
pointer_program=$3

session=$work/session
export XDG_RUNTIME_DIR=$session/runtime HOME=$session/home XDG_CONFIG_HOME=$session/config
# No program may fall back to the system's configuration: waybar's and sway's default ones run
# clocks.
export XDG_CONFIG_DIRS=$session/xdg
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" "$XDG_CONFIG_HOME/vorelt" "$XDG_CONFIG_HOME/waybar" "$XDG_CONFIG_DIRS"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM
user=()
if [ "$(id -u)" -eq 0 ]; then
    chmod 711 "$work"
    chown -R nobody:nogroup "$session"
    user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# The clock's own pattern: no other text on the screen looks like it.
write_store '[General]' "dateFormat=\"'Now' HH:mm\""
[ "$(id -u)" -ne 0 ] || chown -R nobody:nogroup "$XDG_CONFIG_HOME"
width=1600 height=900 panel=30

# Runs the command given as the session's user.
as_user() { "${user[@]}" "$@"; }
# The clock as the session's user: its output in $work/out and $work/err, its process id $pid.
vorelt=$(realpath "$vorelt")
# It runs in the session's folder, where a crash leaves its core for the report.
start_user_clock() {
    cd "$session" && ulimit -c unlimited && start_command "${user[@]}" "$vorelt" "$@" && cd - >/dev/null
}
# The stacks of a clock that crashed, from its core.
crash_stacks() {
    local core
    core=$(ls "$session"/core* 2>/dev/null | head -n 1)
    [ -z "$core" ] || gdb -batch -ex 'thread apply all bt' "$vorelt" "$core" 2>&1 | grep -E '^(#|Thread)'
}
stderr_lines() { grep -c . "$work/err" || true; }
# Whether the advice is the one line on standard error.
only_advice() { [ "$(stderr_lines)" -eq 1 ] && grep -q "has no panel tray that shows text" "$work/err"; }
tray_item_listed() {
    as_user dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher \
        /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null | grep -q StatusNotifierItem
}
tray_host_up() {
    as_user dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher \
        /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:IsStatusNotifierHostRegistered 2>/dev/null | grep -q 'boolean true'
}
# X11 windows of XWayland, seen as the session's user: sets X, Y, WIDTH and HEIGHT of the first
# visible one named like $1.
x_window() {
    local id
    id=$(as_user xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && eval "$(as_user xdotool getwindowgeometry --shell "$id")"
}
# A screenshot of the whole output by grim, cropped to $2 (WxH+X+Y), as artifact $1.
grab() {
    as_user grim "$XDG_RUNTIME_DIR/shot.png"
    convert "$XDG_RUNTIME_DIR/shot.png" -crop "$2" +repage "$artifacts/$1.png"
}

start_sway() {
    printf 'output HEADLESS-1 resolution %sx%s\nxwayland enable\n' "$width" "$height" \
        >"$session/sway.conf"
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        "${user[@]}" sway -c "$session/sway.conf" >"$work/sway.log" 2>&1 &
    pids+=($!)
    sway_up() { ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock >/dev/null 2>&1 && ls "$XDG_RUNTIME_DIR"/wayland-? >/dev/null 2>&1; }
    wait_until 20 sway_up || fail "sway did not start: $(cat "$work/sway.log")"
    export SWAYSOCK WAYLAND_DISPLAY
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
    WAYLAND_DISPLAY=$(basename "$(ls "$XDG_RUNTIME_DIR"/wayland-?)")
    # XWayland's display, as sway gives it to the programs it starts.
    as_user swaymsg exec "echo \$DISPLAY >$XDG_RUNTIME_DIR/display" >/dev/null
    display_known() { [ -s "$XDG_RUNTIME_DIR/display" ]; }
    wait_until 10 display_known || fail "sway names no XWayland display"
    xwayland_display=$(cat "$XDG_RUNTIME_DIR/display")
    # The session bus of the session's user, and waybar with its tray alone, along the top.
    start_server "${user[@]}" dbus-daemon --session --nofork --print-address=3
    export DBUS_SESSION_BUS_ADDRESS=$address
    cat >"$XDG_CONFIG_HOME/waybar/config" <<JSON
{ "layer": "top", "position": "top", "height": $panel, "modules-right": ["tray"],
  "tray": { "icon-size": 20, "spacing": 4 } }
JSON
    printf '* { border: none; border-radius: 0; }\nwindow#waybar { background: #303030; }\n' \
        >"$XDG_CONFIG_HOME/waybar/style.css"
    "${user[@]}" waybar -c "$XDG_CONFIG_HOME/waybar/config" -s "$XDG_CONFIG_HOME/waybar/style.css" \
        >"$work/waybar.log" 2>&1 &
    pids+=($!)
    wait_until 20 tray_host_up || fail "waybar's tray did not start: $(cat "$work/waybar.log")"
    # A pointer: headless, sway has none.
    coproc pointer { exec "${user[@]}" "$pointer_program" "$width" "$height" 2>&1; }
    pids+=($!)
    read -r -t 10 answer <&"${pointer[0]}" && [ "$answer" = ready ] || fail "no virtual pointer: $answer"
}
# Clicks at $1, $2 with the virtual pointer, once sway has handled it.
click_at() {
    echo "move $1 $2" >&"${pointer[1]}"
    read -r -t 5 answer <&"${pointer[0]}" || fail "the pointer did not move"
    echo click >&"${pointer[1]}"
    read -r -t 5 answer <&"${pointer[0]}" || fail "the pointer did not click"
}

case $session_kind in
sway-xwayland)
    start_sway
    export DISPLAY=$xwayland_display
    start_user_clock
    wait_until 10 tray_item_listed || fail "no item in waybar's tray: $(cat "$work/err")"
    # The icon's place, from the screen: the tray is the panel's one module, at its right end.
    icon_shown() {
        as_user grim "$XDG_RUNTIME_DIR/shot.png" &&
            icon=$(convert "$XDG_RUNTIME_DIR/shot.png" -crop "${width}x$panel+0+0" +repage \
                -fuzz 10% -trim -format '%w %h %X %Y' info: 2>/dev/null) &&
            read -r icon_w icon_h icon_x icon_y <<<"$icon" && [ "$icon_w" -ge 16 ] && [ "$icon_w" -le 40 ]
    }
    wait_until 10 icon_shown || fail "no icon in waybar: $icon"
    icon_cx=$((icon_x + icon_w / 2)) icon_cy=$((icon_y + icon_h / 2))
    popover_shown() { x_window '^Popover$'; }
    popover_gone() { ! popover_shown; }
    click_at "$icon_cx" "$icon_cy"
    wait_until 5 popover_shown || fail "the icon's click opened no popover"
    x_window '^Popover$'
    echo "icon at $icon_cx,$icon_cy; popover ${WIDTH}x$HEIGHT+$X+$Y"
    # Below the panel, within a few pixels, and over the icon's column, within the screen.
    ((Y >= panel && Y <= panel + 4)) || fail "the popover's top $Y is not at the panel's edge ($panel)"
    ((X <= icon_cx && icon_cx < X + WIDTH && X + WIDTH <= width)) ||
        fail "the popover at $X..$((X + WIDTH)) is not by the icon at $icon_cx"
    # Not a window that sway manages: it floats none of the clock's windows.
    as_user swaymsg -t get_tree | grep -q '"Popover"' && fail "sway manages the popover"
    left=$((X - 20))
    grab wayland-sway-popover "$((width - left))x$((Y + HEIGHT + 10))+$left+0"
    # A keyboard that comes while it is open (a virtual one) reaches it: Escape closes it.
    as_user wtype -s 1000 -k Escape
    wait_until 5 popover_gone || fail "Escape on the keyboard left the popover open"
    sleep 0.5
    click_at "$icon_cx" "$icon_cy"
    wait_until 5 popover_shown || fail "the icon did not open the popover after Escape"
    click_at 400 $((panel / 2))
    wait_until 5 popover_gone || fail "a click on the panel's empty part left the popover open"
    # Clicks on the icon apart by more than a double click's time: waybar hands the second press
    # of a double click on as a click of its own.
    sleep 0.5
    click_at "$icon_cx" "$icon_cy"
    wait_until 5 popover_shown || fail "the icon did not open the popover again"
    sleep 0.5
    click_at "$icon_cx" "$icon_cy"
    wait_until 5 popover_gone || fail "a click on the icon left the popover open"
    # Opened again, Tab reaches Quit, which space presses: the clock ends.
    sleep 0.5
    click_at "$icon_cx" "$icon_cy"
    wait_until 5 popover_shown || fail "the icon did not open the popover a third time"
    as_user wtype -s 1000 -k Tab -k Tab -k space
    wait_until 5 ended || fail "Tab, Tab and space on the keyboard did not quit the clock"
    wait "$pid" || fail "exit status $? after Quit; $(crash_stacks)"
    only_advice || fail "standard error: $(cat "$work/err")"

    # Asked into its own bar: below the panel, across the screen, said once.
    start_user_clock --show-in=bar
    bar_shown() { x_window '^Now [0-9]{2}:[0-9]{2}$' && [ "$WIDTH" -gt 400 ]; }
    wait_until 10 bar_shown || fail "no bar: $(cat "$work/err")"
    echo "bar ${WIDTH}x$HEIGHT+$X+$Y"
    ((X == 0 && Y == panel && WIDTH == width)) || fail "the bar is at ${WIDTH}x$HEIGHT+$X+$Y"
    grab wayland-sway-bar "${width}x$((panel + HEIGHT + 10))+0+0"
    [ "$(stderr_lines)" -eq 1 ] && grep -q "keeps no room for a bar" "$work/err" ||
        fail "not said once that there is no room: $(cat "$work/err")"
    stop_clock "bar"
    ;;
sway-native)
    start_sway
    start_user_clock
    wait_until 10 tray_item_listed || fail "no item in waybar's tray: $(cat "$work/err")"
    sleep 1  # anything the toolkit had to say
    only_advice || fail "standard error: $(cat "$work/err")"
    [ ! -s "$work/out" ] || fail "standard output used: $(cat "$work/out")"
    grab wayland-sway-native-tray "200x${panel}+$((width - 200))+0"
    stop_clock "native"
    ;;
weston)
    printf '[core]\nxwayland=true\n[shell]\npanel-position=none\nbackground-color=0xff404040\n' \
        >"$session/weston.ini"
    "${user[@]}" weston --backend=headless-backend.so --width=$width --height=$height \
        --config="$session/weston.ini" --socket=wayland-vorelt >"$work/weston.log" 2>&1 &
    pids+=($!)
    xwayland_up() { grep -q 'xserver listening on display' "$work/weston.log"; }
    wait_until 20 xwayland_up || fail "weston did not start: $(cat "$work/weston.log")"
    export WAYLAND_DISPLAY=wayland-vorelt
    xwayland_display=$(sed -nE 's/.*xserver listening on display (:[0-9]+).*/\1/p' "$work/weston.log")
    for platform in "" wayland; do
        QT_QPA_PLATFORM=$platform start_user_clock
        wait_until 10 only_advice || fail "${platform:-auto}: standard error: $(cat "$work/err")"
        sleep 1
        ! ended || fail "${platform:-auto}: the clock ended"
        only_advice && [ ! -s "$work/out" ] ||
            fail "${platform:-auto}: stderr: $(cat "$work/err"); stdout: $(cat "$work/out")"
        stop_clock "${platform:-auto}"
    done
    export DISPLAY=$xwayland_display
    start_user_clock --show-in=bar
    bar_shown() { x_window '^Now [0-9]{2}:[0-9]{2}$' && [ "$WIDTH" -gt 400 ]; }
    wait_until 10 bar_shown || fail "no bar: $(cat "$work/err")"
    echo "bar ${WIDTH}x$HEIGHT+$X+$Y"
    ((X == 0 && Y == 0 && WIDTH == width)) || fail "the bar is at ${WIDTH}x$HEIGHT+$X+$Y"
    bar=$(as_user xdotool search --onlyvisible --name '^Now ' | head -n 1)
    as_user import -window "$bar" "$XDG_RUNTIME_DIR/bar.png"
    cp "$XDG_RUNTIME_DIR/bar.png" "$artifacts/wayland-weston-bar.png"
    [ "$(stderr_lines)" -eq 1 ] && grep -q "keeps no room for a bar" "$work/err" ||
        fail "not said once that there is no room: $(cat "$work/err")"
    stop_clock "bar"
    ;;
*) fail "no such session: $session_kind" ;;
esac
