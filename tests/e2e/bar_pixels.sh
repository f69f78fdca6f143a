#!/usr/bin/env bash
# What the X server shows of the own bar's item, read back from the screen at scales 1 and 2 under
# a window manager. Each title has a picture of its own: a new title never leaves the last one's
# pixels on screen, and the title painted whole as the mouse leaves looks the same when it comes
# again, drawn digit by digit, after the wall clock steps back (libfaketime, for the clock only).
# The item's window covers the item exactly: it ends at the bar's margin, is as high as the bar
# above its line, and the highlight under the mouse keeps its inset at all four edges, with no
# column or row of anything else. At whole scales the bar's ground is in an image shared with the X
# server; at a fractional one the clock still wakes once a second. Crops of the item land in the
# artefacts.
source "$(dirname "$0")/lib.sh"
faketime=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2>/dev/null | head -n 1)
[ -n "$faketime" ] || fail "libfaketime is not installed"

start_x
start_wm openbox
write_store '[General]' "dateFormat=\"'px' HH:mm:ss\""

# Whether the item's window, the bar's one child, ends where the bar's margin starts and is as high
# as the bar above its line; sets `iw`, `ih`, `ix` and `iy` to its place on screen.
item_placed() {
    read -r n iw ih ix iy < <(xwininfo -children -id "$bar" | awk -F'[ x+]+' '/^ +0x/ { n++;
        w = $(NF - 5); h = $(NF - 4); x = $(NF - 1); y = $NF } END { print n + 0, w, h, x, y }')
    ((n == 1 && iy == 0 && ix + iw == WIDTH - 6 * scale && ih == bar_height - scale && iw > 40 * scale))
}
# Samples the item until the command given succeeds: `title` and `picture`, the signature of the
# item's pixels on screen, when the bar's name stayed the same while the screen was read. One
# picture a title, and the other way round.
sample_until() {
    until "$@"; do
        ((${EPOCHREALTIME%.*} < deadline)) || fail "x$scale: only ${#pictures[@]} titles seen"
        before=$(xdotool getwindowname "$bar")
        picture=$(import -window root -crop "${iw}x$ih+$ix+$iy" +repage -format '%#' info:)
        title=$(xdotool getwindowname "$bar")
        [ "$before" = "$title" ] || continue
        [ "${pictures[$title]:-$picture}" = "$picture" ] ||
            fail "x$scale: '$title' looks different when seen again"
        [ "${titles[$picture]:-$title}" = "$title" ] ||
            fail "x$scale: '$title' still shows the picture of '${titles[$picture]}'"
        pictures[$title]=$picture titles[$picture]=$title samples=$((samples + 1))
    done
}
seen() { ((${#pictures[@]} >= $1)); }
sampled() { ((samples >= $1)); }
is() { [ "$title" = "$1" ]; }
ticked() { [ "$(xdotool getwindowname "$bar")" != "$first" ]; }
# The pixels from x $1, y $2, $3 by $4, one colour a line, into `line`.
read_line() {
    mapfile -t line < <(import -window root -crop "$3x$4+$1+$2" +repage -depth 8 rgb:- | od -An -v -tx1 -w3)
}
# Whether `line` is the bar's ground for its first and last $1 pixels, highlighted just inside.
framed() {
    local n=${#line[@]} i
    [ "${line[$1]}" != "$ground" ] && [ "${line[$1]}" = "${line[n - 1 - $1]}" ] || return 1
    for ((i = 0; i < $1; i++)); do
        [ "${line[i]}" = "$ground" ] && [ "${line[n - 1 - i]}" = "$ground" ] || return 1
    done
}
# Across the middle, from the pixel before the item to the one after it; down a column left of
# the title.
highlighted() {
    read_line $((ix - 1)) $((ih / 2)) $((iw + 2)) 1 && framed $((scale + 1)) &&
        read_line $((ix + 6 * scale)) 0 1 "$ih" && framed $((3 * scale))
}
plain() { read_line $((ix + scale)) $((ih / 2)) 1 1 && [ "${line[0]}" = "$ground" ]; }
# Whether the toolkit's image of the bar is memory shared with the X server (an X server's memfd
# or a System V segment), not the clock's own.
shares_image() { grep -qE 'memfd:xorg|SYSV' "/proc/$pid/maps"; }
# Wakeups of all the clock's threads so far.
wakeups() { cat /proc/"$pid"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'; }
shoot_item() { import -window root -crop "${iw}x$ih+$ix+$iy" +repage "$artifacts/bar-pixels-$1.png"; }

for scale in 1 2; do
    echo +0 >"$work/offset"
    LD_PRELOAD=$faketime FAKETIME_TIMESTAMP_FILE=$work/offset FAKETIME_NO_CACHE=1 \
        FAKETIME_DONT_FAKE_MONOTONIC=1 QT_SCALE_FACTOR=$scale start_clock
    wait_for_bar '^px [0-9:]{8}$'
    wait_until 5 item_placed || fail "x$scale: item window ${iw}x$ih+$ix+$iy, bar ${WIDTH}x$bar_height"
    shares_image || fail "x$scale: the bar's ground is not in an image shared with the X server"
    # From the second title on: the first may be painted before the bar's last placing.
    first=$(xdotool getwindowname "$bar")
    wait_until 3 ticked || fail "x$scale: the title stays '$first'"
    declare -A pictures=() titles=()
    samples=0 deadline=$((${EPOCHREALTIME%.*} + 20))
    sample_until seen 3
    read_line $((ix - 2)) 2 1 1
    ground=${line[0]}
    xdotool mousemove $((ix + iw / 2)) $((ih / 2))
    wait_until 3 highlighted ||
        fail "x$scale: the highlight does not fill the item: ${line[*]:0:5} ... ${line[*]: -5}"
    shoot_item "x$scale-hover"
    xdotool mousemove 0 $((bar_height * 4))
    wait_until 3 plain || fail "x$scale: the highlight stays"
    # Most often the title painted whole as the mouse left.
    sample_until sampled $((samples + 1))
    whole=$title
    sample_until seen $((${#pictures[@]} + 2))
    shoot_item "x$scale"
    # Back by whole seconds, so the ticks stay on the second, to the second before that title.
    echo "-$(((10#${title##*:} - 10#${whole##*:} + 60) % 60 + 2))" >"$work/offset"
    sample_until is "$whole"
    stop_clock "x$scale"
done

# At a fractional scale the toolkit paints the title, into an image of its own: a shared one
# would cost a round trip to the X server, and a wakeup, every second.
QT_SCALE_FACTOR=1.5 start_clock
wait_for_bar '^px [0-9:]{8}$'
sleep 1
before=$(wakeups)
sleep 5
after=$(wakeups)
((after - before <= 6)) || fail "x1.5: $((after - before)) wakeups in 5 s"
! shares_image || fail "x1.5: the toolkit's image is shared with the X server"
stop_clock x1.5
