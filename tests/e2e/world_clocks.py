# Adds world clocks through the real clock's settings window as a screen reader's user would:
# the search field found and focused through AT-SPI, the city typed, the buttons pressed and the
# rows chosen through AT-SPI; then reads the popover's world clocks back the same way.
import os
import re
import subprocess

import atspi_session
from atspi_session import (application, artifacts, children, expect, fail, pyatspi, run, started, stop_all,
                           stored, vorelt, wait_for, work)

atspi_session.wait_seconds = 5.0


def names(node):
    return [child.name for child in children(node)]


def press(button):
    button.queryAction().doAction(0)


# Chooses the row named `name` of a list with the action the screen reader offers on its rows.
def choose(listing, name):
    row = listing.getChildAtIndex(names(listing).index(name))
    if not row.getState().contains(pyatspi.STATE_SELECTED):
        row.queryAction().doAction(0)
    expect(lambda: row.getState().contains(pyatspi.STATE_SELECTED), f"{name!r} was not chosen")


# The item sits at the right end of the bar across the 1280-pixel screen.
def open_popover():
    run("xdotool", "mousemove", "1230", "10", "click", "1")
    return wait_for(pyatspi.ROLE_PUSH_BUTTON, "Settings")


def start_clock():
    clock = subprocess.Popen([vorelt], stdout=open(os.path.join(work, "out"), "w"))
    started.append(clock)
    expect(lambda: run("xdotool", "search", "--onlyvisible", "--name", "[0-9]:[0-9]"), "no bar", 10)
    expect(lambda: application() is not None, "the clock is not on the accessibility bus", 10)
    return clock


# The texts of the popover's world clocks, a list of rows.
def popover_rows():
    table = wait_for(pyatspi.ROLE_TABLE, "World clocks")
    cells = table.queryTable()
    return [[cells.getAccessibleAt(row, column).name for column in range(cells.nColumns)]
            for row in range(cells.nRows)]


# 1. Settings, from the popover, with the screen reader's press of its button.
clock = start_clock()
press(open_popover())


def settings_window():
    return next((window for window in children(application()) if window is not None and window.name == "Settings"),
                None)


expect(settings_window, "no settings window")
settings = settings_window()
search = wait_for(pyatspi.ROLE_TEXT, "Search for a city", settings)
cities = wait_for(pyatspi.ROLE_LIST, "Cities", settings)
clocks = wait_for(pyatspi.ROLE_LIST, "World clocks", settings)
add = wait_for(pyatspi.ROLE_PUSH_BUTTON, "Add", settings)


# Types `city` into the search field, as the person does with the keyboard once the screen
# reader is there, and picks the row named `row` among those found.
def find_city(city, row):
    search.queryComponent().grabFocus()
    expect(lambda: search.getState().contains(pyatspi.STATE_FOCUSED), "the search field took no focus")
    run("xdotool", "key", "ctrl+a", "BackSpace")
    run("xdotool", "type", "--delay", "30", city)
    expect(lambda: row in names(cities), lambda: f"{row!r} not found for {city!r}: {names(cities)[:5]}")
    choose(cities, row)


find_city("tokyo", "Tokyo, Japan")
press(add)
expect(lambda: stored("worldClocks") == "Asia/Tokyo", lambda: f"Tokyo not stored: {stored('worldClocks')!r}")
find_city("kolk", "Kolkata, India")
press(add)
expect(lambda: names(clocks) == ["Tokyo, Japan", "Kolkata, India"], lambda: f"the list shows {names(clocks)}")
# Kolkata first: chosen in the list, moved up.
choose(clocks, "Kolkata, India")
press(wait_for(pyatspi.ROLE_PUSH_BUTTON, "Move Up", settings))
# (ICU names Kolkata's zone by its older name, which the zone data knows as well.)
expect(lambda: re.fullmatch(r"Asia/(Kolkata|Calcutta) Asia/Tokyo", stored("worldClocks")),
       lambda: f"the order was not stored: {stored('worldClocks')!r}")
press(wait_for(pyatspi.ROLE_CHECK_BOX, "Week numbers", settings))
expect(lambda: stored("shouldShowWeekNumbers") == "true", "week numbers were not stored")
run("import", "-window", "root", os.path.join(artifacts, "world-clocks-settings-atspi.png"))
windows = run("xdotool", "search", "--onlyvisible", "--name", "^Settings$").split()
run("xdotool", "windowfocus", "--sync", windows[0], "key", "ctrl+w")
expect(lambda: not run("xdotool", "search", "--onlyvisible", "--name", "^Settings$"), "Settings did not close")

# 2. The popover shows both, in that order, with an offset from here (UTC to begin with).
open_popover()
rows = popover_rows()
if [row[0] for row in rows] != ["Kolkata", "Tokyo"] or [row[-1] for row in rows] != ["+5:30 h", "+9 h"]:
    fail(f"the popover shows {rows}")
run("import", "-window", "root", os.path.join(artifacts, "world-clocks-popover-atspi.png"))

# 3. The system's zone changes to Tokyo's while the popover is open: the offsets follow.
os.symlink("/usr/share/zoneinfo/Asia/Tokyo", os.path.join(work, "localtime.new"))
os.replace(os.path.join(work, "localtime.new"), os.path.join(work, "localtime"))
expect(lambda: [row[-1] for row in popover_rows()] == ["-3:30 h", "+0 h"],
       lambda: f"the open popover did not follow the new zone: {popover_rows()}")

# 4. After a restart they are still there.
clock.terminate()
clock.wait(5)
start_clock()
open_popover()
expect(lambda: [row[0] for row in popover_rows()] == ["Kolkata", "Tokyo"],
       lambda: f"after a restart the popover shows {popover_rows()}")
stop_all()
