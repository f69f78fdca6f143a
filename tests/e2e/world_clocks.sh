#!/usr/bin/env bash
# World clocks as a screen reader's user adds them (AT-SPI, and typing): found by city in the
# settings window, put in order, shown in the popover with week numbers, following a change of
# the system's zone while it is open, and still there after a restart.
source "$(dirname "$0")/lib.sh"

start_x
start_wm openbox
# The system's zone is the file TZ names, a link that the test replaces while the popover is open,
# as the desktop's date and time settings replace /etc/localtime. It starts at UTC.
ln -s /usr/share/zoneinfo/Etc/UTC "$work/localtime"
export TZ=:$work/localtime QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 VORELT_ARTIFACTS=$artifacts
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/world_clocks.py" "$vorelt" "$work" || fail "see above"
