#!/usr/bin/env bash
# Launch at login: the clock writes its autostart entry; at login the session runs the entry, whose
# launcher starts the clock unless it runs already on the session's display. A clock on standard
# output, feeding a bar program, does not count; a second start on the same display ends at once,
# quietly and successfully.
source "$(dirname "$0")/lib.sh"

# The installed layout, under a prefix whose name only survives a correctly quoted Exec line. (No
# percent sign: GLib looks for the program before it undoes %%, and would not find it.)
prefix="$work/it's \"quoted\" \$HOME \\ \`tick\` ~ (e2e) & co; é"
mkdir -p "$prefix/bin" "$prefix/libexec/vorelt"
cp "$vorelt" "$prefix/bin/vorelt"
cp "$2" "$prefix/libexec/vorelt/vorelt-launcher"
vorelt=$prefix/bin/vorelt
launcher=$prefix/libexec/vorelt/vorelt-launcher
entry=$XDG_CONFIG_HOME/autostart/io.github.vorelt.VoreltLauncher.desktop

pids_of() {
    local exe
    for exe in /proc/[0-9]*/exe; do
        [ "$(readlink "$exe" 2>/dev/null)" != "$1" ] || basename "$(dirname "$exe")"
    done
}
clocks() { pids_of "$vorelt" | wc -l; }
no_launcher() { [ -z "$(pids_of "$launcher")" ]; }
# Clocks started by a launcher are nobody's children: they are ended by what they run.
trap 'kill $(pids_of "$vorelt") 2>/dev/null; cleanup' EXIT
# The clock writes the entry as it starts. (That logging in starts nothing when the user turned it
# off is the launcher's unit tests'.)
headless_title env -u DISPLAY "$vorelt"
grep -qx 'X-GNOME-Autostart-enabled=true' "$entry" || fail "entry turned off: $(cat "$entry")"

# With a clock already feeding a bar program as the README's recipes start it, logging in still
# starts the desktop's clock, which shows its title in its bar.
start_x
write_store '[General]' "dateFormat=\"'login' HH:mm:ss\""
QT_QPA_PLATFORM=offscreen "$vorelt" >"$work/bar-program.out" 2>&1 &
pids+=($!)
fed() { grep -q '^login ' "$work/bar-program.out"; }
wait_until 10 fed || fail "the clock on standard output did not start"
# Logs in: runs the entry the way GLib-based sessions do, and waits until its program has ended.
gio launch "$entry" 2>"$work/session.err" || fail "the session could not run the entry: $(cat "$work/session.err")"
wait_until 10 no_launcher || fail "the launcher did not run and end: $(cat "$work/session.err")"
wait_for_bar '^login [0-9:]{8}$'
login_bar=$bar
[ "$(clocks)" -eq 2 ] || fail "$(clocks) clocks run after logging in"

# The launcher and the clock again while the clock runs: each ends at once, with success.
for again in "$launcher" "$vorelt"; do
    started=$SECONDS
    timeout 10 "$again" >"$work/again" 2>&1 || fail "$again again: status $?"
    [ $((SECONDS - started)) -lt 3 ] && [ ! -s "$work/again" ] || fail "$again again: $(cat "$work/again")"
done
[ "$(clocks)" -eq 2 ] && find_bar && [ "$bar" = "$login_bar" ] || fail "another clock took over"
