# Drives the real clock's settings window as a person and as a screen reader would.
import os
import re
import subprocess
import time

from atspi_session import (application, artifacts, children, expect, fail, pyatspi, run, started, stop_all,
                           stored, vorelt, wait_for, work)


# Clicks the middle of a control with the mouse, as a person would.
def click(accessible):
    x, y, width, height = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    run("xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "click", "1")


def title():
    return run("xdotool", "getwindowname", bar)


def settings_windows():
    return [window for window in children(application()) if window is not None and window.name == "Settings"]


# Opens the popover from the item, at the right end of the bar across the 1280-pixel screen, and
# presses its Settings button with the mouse.
def open_settings():
    run("xdotool", "mousemove", "1230", "10", "click", "1")
    before = len(settings_windows())
    click(wait_for(pyatspi.ROLE_PUSH_BUTTON, "Settings"))
    expect(lambda: len(settings_windows()) > before, "the settings window did not open")
    return settings_windows()[-1]


# 1. A pattern written by hand (by the script that runs this) survives the first opening of
# Settings, shown as a custom one.
clock = subprocess.Popen([vorelt], stdout=open(os.path.join(work, "out"), "w"))
started.append(clock)
bar = []
expect(lambda: bar.append(run("xdotool", "search", "--onlyvisible", "--name", "[0-9]:[0-9]")) or bar[-1],
       "no bar", 10)
bar = bar[-1].split()[0]
seconds_24h = re.compile(r" \d\d:\d\d:\d\d$")
expect(lambda: application() is not None and seconds_24h.search(title()),
       lambda: f"no 24-hour title: {title()}")
first = open_settings()
time.sleep(1.2)
shown = wait_for(pyatspi.ROLE_TEXT, "Date format pattern", first).queryText().getText(0, -1)
kept = [stored("dateFormat"), shown, stored("shouldUseCustomFormat")]
if kept != ["E MMM d  HH:mm:ss"] * 2 + ["true"] or not seconds_24h.search(title()):
    fail(f"opening Settings did not keep the pattern as a custom one: {kept}, {title()}")

# 2. The 24-hour clock, clicked: it is stored, and the bar shows the 24-hour hour without seconds.
click(wait_for(pyatspi.ROLE_CHECK_BOX, "Custom format", first))
click(wait_for(pyatspi.ROLE_RADIO_BUTTON, "24-hour clock", first))
expect(lambda: stored("shouldUse24Hour") == "true" and stored("shouldUseAMPM") == "false",
       "the 24-hour clock was not stored")
expect(lambda: re.search(r" \d\d:\d\d$", title()), lambda: f"the bar is not in 24-hour time: {title()}")

# 3. Two settings windows, one clicked, one toggled by a screen reader: each change survives the
# other's, and the bar follows both.
second = open_settings()
click(wait_for(pyatspi.ROLE_CHECK_BOX, "Year", first))
expect(lambda: stored("shouldShowYear") == "true", "the first window's Year was not stored")
wait_for(pyatspi.ROLE_CHECK_BOX, "Seconds", second).queryAction().doAction(0)
# Stored together with the Seconds, a Year the second window had not seen would undo the first's.
expect(lambda: stored("shouldShowSeconds") == "true" and stored("shouldShowYear") == "true",
       "the screen reader's Seconds was not stored, or it undid the first window's Year")
expect(lambda: wait_for(pyatspi.ROLE_CHECK_BOX, "Year", second).getState().contains(pyatspi.STATE_CHECKED),
       "the second window does not show the first one's change")
expect(lambda: str(time.localtime().tm_year) in title() and seconds_24h.search(title()),
       lambda: f"the bar shows no year and seconds: {title()}")
run("import", "-window", "root", os.path.join(artifacts, "settings-two-windows.png"))

# 4. Ctrl+W closes a settings window from the keyboard; the clock goes on.
windows = run("xdotool", "search", "--onlyvisible", "--name", "^Settings$").split()
run("xdotool", "windowfocus", "--sync", windows[0], "key", "ctrl+w")
expect(lambda: len(run("xdotool", "search", "--onlyvisible", "--name", "^Settings$").split()) == 1,
       "Ctrl+W did not close the window")
ticked_from = title()
expect(lambda: clock.poll() is None and title() != ticked_from, "the clock stopped with its window")
stop_all()
