"""Drives the real clock's settings window as a person and as a screen reader would."""
import os
import re
import subprocess
import sys
import time

vorelt, work = sys.argv[1:3]
artifacts = os.environ["VORELT_ARTIFACTS"]
started = []


def start(args, **kwargs):
    process = subprocess.Popen(args, **kwargs)
    started.append(process)
    return process


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    for process in reversed(started):
        stop(process)
    sys.exit(1)


def wait_until(condition, seconds=5.0):
    deadline = time.monotonic() + seconds
    while True:
        if condition():
            return True
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, check=False).stdout.strip()


# The accessibility bus first: the bindings connect to it as they load.
start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
a11y_bus = ("dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
            "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus")
if not wait_until(lambda: "true" in run(*a11y_bus)):
    fail("no accessibility bus")
import pyatspi  # noqa: E402

desktop = pyatspi.Registry.getDesktop(0)


def store_path():
    return os.path.join(os.environ["XDG_CONFIG_HOME"], "vorelt", "vorelt.conf")


def stored(key):
    try:
        with open(store_path(), encoding="utf-8") as file:
            for line in file:
                name, _, value = line.rstrip("\n").partition("=")
                if name == key:
                    return value[1:-1] if value.startswith('"') else value
    except OSError:
        pass
    return None


def application():
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        if app is not None and app.name == "vorelt":
            return app
    return None


def find_all(root, role, name):
    found = []
    if root is None:
        return found
    try:
        if root.getRole() == role and name in (None, root.name):
            found.append(root)
        for index in range(root.childCount):
            found.extend(find_all(root.getChildAtIndex(index), role, name))
    except Exception:  # a window that went away while it was walked
        pass
    return found


def find(role, name, within=None):
    matches = find_all(within or application(), role, name)
    return matches[0] if matches else None


def wait_for(role, name, within=None, seconds=5.0):
    found = []
    wait_until(lambda: found.append(find(role, name, within)) or found[-1] is not None, seconds)
    if found[-1] is None:
        def names(root, depth=0):
            return "".join([f"\n{'  ' * depth}{root.getRoleName()} {root.name!r}"] +
                           [names(root.getChildAtIndex(i), depth + 1) for i in range(root.childCount)])
        fail(f"no {role} named {name!r} in:{names(within or application())}")
    return found[-1]


def click(accessible):
    """Clicks the middle of a control with the mouse, as a person would."""
    x, y, width, height = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    run("xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "click", "1")


def checked(accessible):
    return accessible.getState().contains(pyatspi.STATE_CHECKED)


def wait_for_bar():
    """The bar's window, named after the title it shows."""
    found = []
    search = ("xdotool", "search", "--onlyvisible", "--name", "[0-9]:[0-9]")
    if not wait_until(lambda: found.append(run(*search)) or found[-1] != "", 10):
        fail("no bar")
    return found[-1].split()[0]


def title():
    return run("xdotool", "getwindowname", bar)


def start_clock():
    return start([vorelt], stdout=open(os.path.join(work, "out"), "w"),
                 stderr=open(os.path.join(work, "err"), "w"))


def open_settings():
    """Opens the popover from the bar and presses its Settings button with the mouse."""
    geometry = dict(line.split("=") for line in
                    run("xdotool", "getwindowgeometry", "--shell", bar).splitlines())
    run("xdotool", "mousemove", str(int(geometry["WIDTH"]) - 50),
        str(int(geometry["HEIGHT"]) // 2), "click", "1")
    before = len(settings_windows())
    click(wait_for(pyatspi.ROLE_PUSH_BUTTON, "Settings"))
    if not wait_until(lambda: len(settings_windows()) > before):
        fail("the settings window did not open")
    return settings_windows()[-1]


def settings_windows():
    app = application()
    windows = [app.getChildAtIndex(index) for index in range(app.childCount)] if app else []
    return [window for window in windows if window is not None and window.name == "Settings"]


def expect(condition, message, seconds=3.0):
    if not wait_until(condition, seconds):
        fail(message)


# 1. A pattern written by hand survives the first opening of Settings, shown as a custom one.
os.makedirs(os.path.dirname(store_path()), exist_ok=True)
with open(store_path(), "w", encoding="utf-8") as file:
    file.write('[General]\ndateFormat="E MMM d  HH:mm:ss"\n')
clock = start_clock()
bar = wait_for_bar()
seconds_24h = re.compile(r" \d\d:\d\d:\d\d$")
expect(lambda: application() is not None and seconds_24h.search(title()),
       f"no 24-hour title with seconds: {title()}", 10)
first = open_settings()
expect(lambda: "Settings selected" in open(os.path.join(work, "out"), encoding="utf-8").read(),
       "the settings button did not report itself")
expect(lambda: run("xdotool", "search", "--onlyvisible", "--name", "^Popover$") == "",
       "the popover stayed open")
time.sleep(1.2)
if stored("dateFormat") != "E MMM d  HH:mm:ss":
    fail(f"opening Settings replaced the pattern: {stored('dateFormat')}")
if stored("shouldUseCustomFormat") != "true" or not seconds_24h.search(title()):
    fail(f"the kept pattern is not shown as a custom one: {title()}")
field = wait_for(pyatspi.ROLE_TEXT, "Date format pattern", first)
if field.queryText().getText(0, -1) != "E MMM d  HH:mm:ss":
    fail("the field does not show the kept pattern")

# 2. Typing inside the pattern keeps the caret where the person put it.
click(field)
run("xdotool", "key", "ctrl+a", "BackSpace")
run("xdotool", "type", "--delay", "30", "HH:mm")
run("xdotool", "key", "Home")
run("xdotool", "type", "--delay", "30", "a")
run("xdotool", "key", "End")
run("xdotool", "type", "--delay", "30", "b")
expect(lambda: stored("dateFormat") == "aHH:mmb", f"typed at the caret, stored {stored('dateFormat')}")
# "a" and "b" are pattern letters too: AM or PM, and the period of the day.
expect(lambda: re.fullmatch(r"[AP]M\d\d:\d\d\S+", title()), f"the bar does not follow: {title()}")
run("import", "-window", "root", os.path.join(artifacts, "settings-custom-kept.png"))

# 3. The 24-hour clock, clicked: AM/PM goes off and the bar shows the 24-hour hour.
click(wait_for(pyatspi.ROLE_CHECK_BOX, "Custom format", first))
twenty_four = wait_for(pyatspi.ROLE_RADIO_BUTTON, "24-hour clock", first)
am_pm = wait_for(pyatspi.ROLE_RADIO_BUTTON, "AM/PM", first)
click(twenty_four)
expect(lambda: stored("shouldUse24Hour") == "true" and stored("shouldUseAMPM") == "false",
       "the 24-hour clock was not stored")
expect(lambda: checked(twenty_four) and not checked(am_pm), "AM/PM stayed chosen")
expect(lambda: re.search(r" \d\d:\d\d$", title()), f"the bar is not in 24-hour time: {title()}")

# 4. A screen reader toggles Seconds: the change is saved like a click.
seconds_box = wait_for(pyatspi.ROLE_CHECK_BOX, "Seconds", first)
action = seconds_box.queryAction()
names = [action.getName(index) for index in range(action.nActions)]
was = stored("shouldShowSeconds")
action.doAction(names.index("toggle") if "toggle" in names else 0)
expect(lambda: stored("shouldShowSeconds") != was, f"the screen reader's toggle was not saved ({names})")
expect(lambda: seconds_24h.search(title()), f"the bar shows no seconds: {title()}")

# 5. Two settings windows: a change in each survives the other's.
second = open_settings()
click(wait_for(pyatspi.ROLE_CHECK_BOX, "Year", first))
expect(lambda: stored("shouldShowYear") == "true", "the first window's Year was not stored")
zone = wait_for(pyatspi.ROLE_CHECK_BOX, "Time zone", second)
zone.queryAction().doAction(0)
expect(lambda: stored("shouldShowTimezone") == "true", "the second window's Time zone was not stored")
time.sleep(0.3)
if stored("shouldShowYear") != "true" or stored("shouldShowSeconds") != "true":
    fail("the second window undid the first one's changes")
expect(lambda: checked(wait_for(pyatspi.ROLE_CHECK_BOX, "Year", second)),
       "the second window does not show the first one's change")
run("import", "-window", "root", os.path.join(artifacts, "settings-two-windows.png"))

# Ctrl+W closes a settings window from the keyboard; the clock goes on.
windows = run("xdotool", "search", "--onlyvisible", "--name", "^Settings$").split()
run("xdotool", "windowfocus", "--sync", windows[0], "key", "ctrl+w")
expect(lambda: len(run("xdotool", "search", "--onlyvisible", "--name", "^Settings$").split()) == 1,
       "Ctrl+W did not close the window")
ticked_from = title()
expect(lambda: clock.poll() is None and title() != ticked_from, "the clock stopped with its window")
stop(clock)

# 6. A store that cannot be saved: the window says so, and where.
blocked = os.path.join(work, "blocked")
open(blocked, "w", encoding="utf-8").close()
os.environ["XDG_CONFIG_HOME"] = os.path.join(blocked, "config")
clock = start_clock()
bar = wait_for_bar()
window = open_settings()


def saving_line():
    """The label a screen reader reads out, by what it says."""
    for label in find_all(window, pyatspi.ROLE_LABEL, None):
        if "can't be saved" in label.name and label.getState().contains(pyatspi.STATE_SHOWING):
            return label.name
    return None


expect(lambda: saving_line() is not None, "no line about saving")
if blocked not in saving_line():
    fail(f"the line does not say where: {saving_line()!r}")
time.sleep(0.3)
run("import", "-window", "root", os.path.join(artifacts, "settings-cannot-save.png"))
stop(clock)
if clock.returncode != 0:
    fail(f"the clock ended with status {clock.returncode}")
for process in reversed(started):
    stop(process)
