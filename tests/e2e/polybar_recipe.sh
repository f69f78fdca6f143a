#!/usr/bin/env bash
# The README's polybar module, as written there, in Debian's polybar under Xvfb: polybar runs the
# clock on standard output, redraws the module on every tick, and the module follows an edit of the
# stored pattern. polybar shows no text to outside tools, so its trace log of the module's drawn
# area stands in: its width is that of the text.
source "$(dirname "$0")/lib.sh"
vorelt=$1
readme=$(dirname "$0")/../../README.md
command -v polybar >/dev/null || fail "polybar is not installed"

# The module exactly as the README gives it, with this build's program first on PATH.
module=$(sed -n '/^\[module\/vorelt\]/,/^```/p' "$readme" | sed '$d')
grep -q 'type = custom/script' <<<"$module" || fail "no polybar module in the README"
mkdir -p "$work/bin"
ln -s "$(realpath "$vorelt")" "$work/bin/vorelt"
cat >"$work/polybar.ini" <<INI
[bar/test]
width = 100%
height = 24
font-0 = DejaVu Sans:size=10
modules-right = vorelt
enable-ipc = true

$module
INI

start_x
write_store '[General]' "dateFormat=\"'pb' HH:mm\""
PATH=$work/bin:$PATH polybar -c "$work/polybar.ini" -l trace test >"$work/polybar.log" 2>&1 &
pids+=($!)
polybar=$!

# Widths of the module's drawn area, one per redraw, newest last.
widths() { sed -n 's/.*renderer: flush([0-9]* geom=\([0-9]*\)x.*/\1/p' "$work/polybar.log"; }
redraws() { grep -c 'module/vorelt: Rebuilding cache' "$work/polybar.log" || true; }
drawn() { [ -n "$(widths)" ]; }
wait_until 10 drawn || fail "polybar drew no module: $(tail -n 20 "$work/polybar.log")"
clock=$(pgrep -P "$polybar" -f 'vorelt' | head -n 1)
[ -n "$clock" ] || clock=$(pgrep -f "$work/bin/vorelt" | head -n 1)
[ -n "$clock" ] || fail "polybar did not start the clock"
[ "$(readlink "/proc/$clock/fd/1")" != /dev/null ] || fail "the clock's output goes nowhere"
short=$(widths | tail -n 1)
echo "module drawn ${short}px wide for 'pb' HH:mm"

# The seconds in the new pattern make polybar redraw on every tick, wider.
write_store '[General]' "dateFormat=\"'polybar' HH:mm:ss\""
wider() { [ "$(widths | tail -n 1)" -gt $((short + 20)) ]; }
wait_until 5 wider || fail "the module did not follow the edit: widths $(widths | tr '\n' ' ')"
before=$(redraws)
ticking() { [ $(($(redraws) - before)) -ge 3 ]; }
wait_until 5 ticking || fail "only $(($(redraws) - before)) redraws in 5 s"
echo "module drawn $(widths | tail -n 1)px wide for 'polybar' HH:mm:ss, redrawn on every tick"
import -window root -crop 1280x24+0+0 "$artifacts/polybar.png"
kill -0 "$polybar" || fail "polybar ended"
echo "PASS"
