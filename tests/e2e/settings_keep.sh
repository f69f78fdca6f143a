#!/usr/bin/env bash
# The settings window keeps what the person did, with the mouse and keyboard (xdotool) and with a
# screen reader (AT-SPI): a hand-written pattern, the caret, the 24-hour clock, a screen reader's
# toggle, two windows at once, and a store that cannot be saved.
source "$(dirname "$0")/lib.sh"
vorelt=$1

start_x
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export VORELT_ARTIFACTS=$artifacts
dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/settings_keep.py" "$vorelt" "$work" ||
    fail "see above"
echo "PASS"
