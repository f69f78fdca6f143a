#!/usr/bin/env bash
# Launch at login: the clock writes its autostart entry; at login the session runs the entry, whose
# launcher starts the clock unless the user turned that off or the clock runs already on the
# session's display. A clock on standard output, feeding a bar program, does not count.
source "$(dirname "$0")/lib.sh"
vorelt=$1
launcher=$2

# The installed layout, under a prefix whose name only survives a correctly quoted Exec line. (No
# percent sign: GLib looks for the program before it undoes %%, and would not find it.)
prefix="$work/it's \"quoted\" \$HOME \\ \`tick\` ~ (e2e) & co; é"
mkdir -p "$prefix/bin" "$prefix/libexec/vorelt"
cp "$vorelt" "$prefix/bin/vorelt"
cp "$launcher" "$prefix/libexec/vorelt/vorelt-launcher"
clock=$prefix/bin/vorelt
login_item=$prefix/libexec/vorelt/vorelt-launcher
entry=$XDG_CONFIG_HOME/autostart/io.github.vorelt.VoreltLauncher.desktop
clock_id=io.github.vorelt.Vorelt
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

# The lock file of an identifier on a display (any display when none is given).
lock_of() { compgen -G "$XDG_RUNTIME_DIR/vorelt/${2:-*}/$1.lock" | head -n 1 || true; }
# Announced and still locked: the process that wrote its id into the file runs.
is_held() {
    local file
    file=$(lock_of "$1" "${2:-}")
    [ -n "$file" ] && [ -s "$file" ] && ! flock -n -s "$file" true
}
has_ended() { ! is_held "$1" "${2:-}"; }
pids_of() {
    local exe
    for exe in /proc/[0-9]*/exe; do
        if [ "$(readlink "$exe" 2>/dev/null)" = "$1" ]; then
            exe=${exe#/proc/}
            echo "${exe%/exe}"
        fi
    done
}
clock_pids() { pids_of "$clock"; }
count_clocks() { clock_pids | wc -l; }
no_login_item() { [ -z "$(pids_of "$login_item")" ]; }
# Clocks started by a launcher are nobody's children: they are ended by what they run.
stop_clocks() {
    local pid
    for pid in $(clock_pids); do
        kill "$pid" 2>/dev/null || true
    done
}
trap 'stop_clocks; cleanup' EXIT
# Logs in: runs the entry the way GLib-based sessions do, and waits until its program has ended.
log_in() {
    gio launch "$entry" >>"$work/session.out" 2>>"$work/session.err" ||
        fail "the session could not run the entry: $(cat "$work/session.err")"
    wait_until 10 no_login_item ||
        fail "the login item did not run and end: $(cat "$work/session.err")"
}

# The clock writes the entry as it starts.
write_store '[General]' "dateFormat=\"'first' HH:mm:ss\""
"${headless[@]}" "$clock" >"$work/first.out" 2>"$work/first.err" &
pid=$!
pids+=($pid)
started() { grep -q '^first ' "$work/first.out"; }
wait_until 10 started || fail "the clock did not start: $(cat "$work/first.err")"
[ -f "$entry" ] || fail "the clock wrote no autostart entry: $(cat "$work/first.err")"
kill -INT "$pid"
wait "$pid" || fail "the clock did not end cleanly"
desktop-file-validate "$entry" || fail "invalid entry: $(cat "$entry")"
grep -qx 'X-GNOME-Autostart-enabled=true' "$entry" || fail "entry turned off: $(cat "$entry")"
grep -q '^Hidden=true' "$entry" && fail "entry hidden: $(cat "$entry")"

# Unticked: logging in starts nothing.
start_x
display_folder=x11-$DISPLAY
write_store '[General]' 'shouldAutoLaunch=false'
log_in
[ "$(count_clocks)" -eq 0 ] || fail "a clock was started though launch at login is off"
is_held "$clock_id" && fail "a clock announced itself though launch at login is off"

# Ticked, with a clock already feeding a bar program: logging in still starts the desktop's clock,
# which shows its title in its bar.
write_store '[General]' 'shouldAutoLaunch=true' "dateFormat=\"'login' HH:mm:ss\""
"${headless[@]}" "$clock" >"$work/bar-program.out" 2>&1 &
pids+=($!)
fed() { grep -q '^login ' "$work/bar-program.out"; }
wait_until 10 fed || fail "the clock on standard output did not start"
log_in
wait_until 10 is_held "$clock_id" "$display_folder" ||
    fail "logging in started no clock on the display: $(cat "$work/session.err")"
clock_pid=$(cat "$(lock_of "$clock_id" "$display_folder")")
titled() { xdotool search --name '^login [0-9][0-9]:[0-9][0-9]:[0-9][0-9]$' >/dev/null 2>&1; }
wait_until 10 titled || fail "the started clock shows no title: $(cat "$work/session.err")"
[ "$(count_clocks)" -eq 2 ] || fail "$(count_clocks) clocks run after logging in"

# The launcher again while the clock runs: it ends at once, with success, and starts no clock.
status=0
"$login_item" >>"$work/session.out" 2>>"$work/session.err" || status=$?
[ "$status" -eq 0 ] || fail "the launcher ended with status $status"
[ "$(count_clocks)" -eq 2 ] || fail "$(count_clocks) clocks run after a second launch"
[ "$(cat "$(lock_of "$clock_id" "$display_folder")")" = "$clock_pid" ] || fail "another clock took over"

kill -INT "$clock_pid"
wait_until 10 has_ended "$clock_id" "$display_folder" || fail "the clock started at login did not end"
echo "PASS"
