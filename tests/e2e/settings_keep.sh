#!/usr/bin/env bash
# The settings window as a person uses it, with the mouse and keyboard (xdotool), and as a screen
# reader does (AT-SPI): opened from the popover, it keeps a hand-written pattern, the 24-hour
# clock, a screen reader's toggle and two windows at once; Ctrl+W closes it and the clock goes on.
source "$(dirname "$0")/lib.sh"

start_x
write_store '[General]' 'dateFormat="E MMM d  HH:mm:ss"'
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 VORELT_ARTIFACTS=$artifacts
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/settings_keep.py" "$vorelt" "$work" || fail "see above"
