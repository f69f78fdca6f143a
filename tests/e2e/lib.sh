# Shared set-up of the end-to-end tests: a private config home, X servers, session buses and
# window managers of their own, the steps a person takes, and clean-up of exactly what was started.
set -euo pipefail
# The scripts that start the clock take its program first; a script that fails says so, and its
# exit status is the verdict.
vorelt=${1:-}

work=$(mktemp -d /tmp/vorelt-e2e.XXXXXX)
# English texts and dates whatever the machine's language; a test that wants another says so.
unset LC_ALL LC_MESSAGES LC_TIME LANGUAGE
export LANG=C.UTF-8
# The tests' X servers are the whole session, even when they run inside a Wayland one.
unset WAYLAND_DISPLAY
export XDG_CONFIG_HOME=$work/config
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/vorelt" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
artifacts=${VORELT_ARTIFACTS:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/artifacts}
mkdir -p "$artifacts"
pids=()

cleanup() {
    # The last started first: the clients before their X server.
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    # A window manager's settings daemon may still be writing its last settings there.
    rm -rf "$work" 2>/dev/null || { sleep 0.5; rm -rf "$work"; }
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the server given, which writes where it listens to descriptor 3; sets `server` to its
# process id and `address` to what it wrote.
start_server() {
    rm -f "$work/fd3"
    mkfifo "$work/fd3"
    "$@" 3>"$work/fd3" >/dev/null 2>&1 &
    server=$!
    pids+=("$server")
    read -r -t 10 address <"$work/fd3" || fail "$1 did not start"
}

# Starts Xvfb on a free display, exports DISPLAY and sets `xserver`. It keeps running as one clock
# ends and the next starts (-noreset), rather than refusing clients while it resets.
start_x() {
    start_server Xvfb -displayfd 3 -screen 0 "${1:-1280x800x24}" -nolisten tcp -noreset
    xserver=$server
    export DISPLAY=:$address
}

# Starts a session bus of its own, exports its address and sets `bus_pid`.
start_bus() {
    start_server dbus-daemon --session --nofork --print-address=3
    bus_pid=$server
    export DBUS_SESSION_BUS_ADDRESS=$address
}

# Whether a tray's StatusNotifierWatcher is on the session bus.
watcher_up() {
    gdbus introspect --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
        >/dev/null 2>&1
}

# Whether a panel's host is registered with the watcher.
host_registered() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:IsStatusNotifierHostRegistered 2>/dev/null | grep -q 'boolean true'
}

# Whether the clock's item is in the tray.
has_tray_item() {
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
        string:RegisteredStatusNotifierItems 2>/dev/null | grep -q 'StatusNotifierItem'
}

# Writes the settings of an Xfce panel along the top, 28 high, whose one plugin is $1.
xfce_panel_config() {
    local dir=$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml
    mkdir -p "$dir"
    cat >"$dir/xfce4-panel.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="size" type="uint" value="28"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="3"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-3" type="string" value="$1"/>
  </property>
</channel>
XML
}

# Starts an Xfce panel along the top whose one plugin is its systray, which shows icons only, and
# sets `panel_pid`. No clock: the session bus, which starts the panel's settings daemon, must be
# started with XDG_CONFIG_DIRS=$work/xdg, so that nothing falls back to the system's configuration,
# whose default panel has one.
start_panel() {
    xfce_panel_config systray
    XDG_CONFIG_DIRS=$work/xdg NO_AT_BRIDGE=1 GTK_A11Y=none xfce4-panel --disable-wm-check \
        >"$work/panel.log" 2>&1 &
    panel_pid=$!
    pids+=("$panel_pid")
    wait_until 20 watcher_up || fail "the panel's tray did not start: $(cat "$work/panel.log")"
}

# Sets `item_x` and `item_y` to the clock's icon, the last of the systray.
find_tray_icon() {
    sleep 1  # the systray lays its icons out
    local systray
    systray=$(xdotool search --name '^wrapper-2.0$' 2>/dev/null | while read -r w; do
        geometry "$w"
        [ "$Y" -ge 0 ] && [ "$WIDTH" -gt 10 ] && echo "$X $w"
    done | sort -n | tail -n 1 | cut -d' ' -f2)
    [ -n "$systray" ] || fail "no systray window"
    geometry "$systray"
    item_x=$((X + WIDTH - 14)) item_y=$((Y + HEIGHT / 2))
}

write_store() { printf '%s\n' "$@" >"$XDG_CONFIG_HOME/vorelt/vorelt.conf"; }

# Waits until `condition` (a command) succeeds, for at most $1 (whole) seconds. Timed in
# microseconds: SECONDS counts whole seconds, and a second counted from just before it turns is
# over at once.
wait_until() {
    local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
    shift
    until "$@"; do
        ((${EPOCHREALTIME/./} < deadline)) || return 1
        sleep 0.05
    done
}

# Starts the command given, its output in $work/out and $work/err; its process id is $pid.
start_command() {
    : >"$work/out"  # emptied before the start, not as the clock starts: no title of before
    "$@" >"$work/out" 2>"$work/err" &
    pid=$!
    pids+=("$pid")
}
start_clock() { start_command "$vorelt" "$@"; }
ended() { ! kill -0 "$pid" 2>/dev/null; }

# Ends the clock with SIGTERM and expects status 0; $1 names the run.
stop_clock() {
    kill -TERM "$pid"
    wait "$pid" || fail "${1:-the clock}: exit status $? after SIGTERM"
}

# Sets X, Y, WIDTH and HEIGHT to the geometry of window $1.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
shown() { [ -n "$(visible "$1")" ]; }
shoot() { import -window root "$artifacts/$1.png"; }

# Waits for the bar, the window whose name matches the pattern $1, and sets `bar` to it,
# `bar_height` to its height and `item_x`, `item_y` to a point on the item at its right end.
wait_for_bar() {
    bar_pattern=$1
    wait_until 10 find_bar || fail "no bar named like $1; stderr: $(cat "$work/err")"
    # A window is named before it has its place: wait for a strip.
    a_strip() { geometry "$bar" && [ "$WIDTH" -gt $((HEIGHT * 4)) ]; }
    wait_until 5 a_strip || fail "the bar is no strip: ${WIDTH}x$HEIGHT"
    bar_height=$HEIGHT
    item_x=$((WIDTH - 50)) item_y=$((HEIGHT / 2))
}
find_bar() {
    bar=$(xdotool search --name "$bar_pattern" 2>/dev/null | head -n 1)
    [ -n "$bar" ]
}

click_item() { xdotool mousemove "$item_x" "$item_y" click 1; }
popover_open() { shown '^Popover$'; }
popover_closed() { ! popover_open; }
popover_focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$popover" ]; }

# Clicks the item, waits for the popover and sets `popover` to its window; $1 says when.
open_popover() {
    click_item
    wait_until 3 popover_open || fail "popover did not open${1:+ ($1)}"
    popover=$(visible '^Popover$')
}

# Opens the popover and clicks its Settings button, at $1 (arithmetic of WIDTH and scale) from the
# popover's left, 60 by default.
open_settings() {
    open_popover "for Settings"
    geometry "$popover"
    xdotool mousemove $((X + ${1:-60})) $((Y + HEIGHT - 25 * ${scale:-1})) click 1
    wait_until 5 shown '^Settings$' || fail "no settings window"
}

# Starts the command given (a clock without a display), waits for its first real title and ends
# it, expecting status 0.
headless_title() {
    start_command "$@"
    a_title() { grep -qv '^Time$' "$work/out"; }
    wait_until 5 a_title || fail "$*: no title; stderr: $(cat "$work/err")"
    stop_clock "$*"
}

# Starts the window manager $1 (openbox or xfwm4) on the display and waits until it manages it;
# $wm_launched is the process started for it.
start_wm() {
    local wm_bus=
    # xfwm4 asks its settings of a session bus: one of its own, ended by process id with the
    # rest, and no accessibility bus started on it.
    if [ "$1" = xfwm4 ]; then
        start_server dbus-daemon --session --nofork --print-address=3
        wm_bus=$address
    fi
    case $1 in
        openbox) XDG_CONFIG_DIRS=/etc/xdg exec openbox --sm-disable ;;
        xfwm4) DBUS_SESSION_BUS_ADDRESS=$wm_bus NO_AT_BRIDGE=1 exec xfwm4 --compositor=off \
            --sm-client-disable ;;
    esac >"$work/wm.log" 2>&1 &
    wm_launched=$!
    pids+=($!)
    wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_until 20 wm_running || fail "$1 did not start: $(cat "$work/wm.log")"
    # The check is set while the manager still starts, and a window mapped meanwhile may wait for
    # its next event (openbox leaves it unmapped at its first size): it takes windows once it
    # manages one of ours, nudged until it does, which never takes the focus.
    xmessage -title vorelt-wm-probe -xrm "*input: false" probe >/dev/null 2>&1 &
    local probe=$!
    wm_manages() {
        probe_window=$(xdotool search --name '^vorelt-wm-probe$' 2>/dev/null | head -n 1) || return 1
        xprop -id "$probe_window" WM_STATE 2>/dev/null | grep -q Normal && return 0
        xdotool windowmove "$probe_window" 0 0 2>/dev/null
        return 1
    }
    wait_until 20 wm_manages || fail "$1 manages no window: $(cat "$work/wm.log")"
    kill "$probe"
    wait "$probe" 2>/dev/null || true
    probe_gone() { ! xprop -root _NET_CLIENT_LIST | grep -qw "$(printf '0x%x' "$probe_window")"; }
    wait_until 20 probe_gone || fail "$1 keeps a window that is gone"
}
