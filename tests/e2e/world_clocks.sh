#!/usr/bin/env bash
# World clocks as a screen reader's user adds them (AT-SPI, and typing): found by city in the
# settings window, put in order, shown in the popover with week numbers, and still there after
# a restart.
source "$(dirname "$0")/lib.sh"

start_x
start_wm openbox
# The offsets are read against UTC.
export TZ=UTC QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 VORELT_ARTIFACTS=$artifacts
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/world_clocks.py" "$vorelt" "$work" || fail "see above"
