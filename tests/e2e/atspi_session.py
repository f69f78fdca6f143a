# What the AT-SPI scripts share: their arguments, the processes they started and end, waiting with
# a deadline, the accessibility bus (started before the bindings load, as they connect to it then)
# and the clock's accessible tree.
import os
import subprocess
import sys
import time

vorelt, work = sys.argv[1:3]
artifacts = os.environ["VORELT_ARTIFACTS"]
store_path = os.path.join(os.environ["XDG_CONFIG_HOME"], "vorelt", "vorelt.conf")
started = []
# How long `expect` waits unless told; a script may set its own.
wait_seconds = 3.0


def stop_all():
    for process in reversed(started):
        if process.poll() is None:
            process.terminate()
            process.wait(5)


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    stop_all()
    sys.exit(1)


def expect(condition, message, seconds=None):
    deadline = time.monotonic() + (seconds or wait_seconds)
    while not condition():
        if time.monotonic() > deadline:
            fail(message() if callable(message) else message)
        time.sleep(0.05)


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, check=False).stdout.strip()


started.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
expect(lambda: "true" in run("dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                             "/", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"),
       "no accessibility bus")
import pyatspi  # noqa: E402

desktop = pyatspi.Registry.getDesktop(0)


# The store's value of `key`, unquoted; empty while there is no store.
def stored(key):
    try:
        with open(store_path, encoding="utf-8") as file:
            values = dict(line.rstrip("\n").partition("=")[::2] for line in file)
    except FileNotFoundError:
        return ""
    return values.get(key, "").strip('"')


def children(node):
    return [node.getChildAtIndex(index) for index in range(node.childCount)] if node else []


def application():
    return next((app for app in children(desktop) if app is not None and app.name == "vorelt"), None)


def find(root, role, name):
    try:
        if root.getRole() == role and root.name == name:
            return root
        found = (find(child, role, name) for child in children(root))
        return next((child for child in found if child is not None), None)
    except Exception:  # a window that went away while it was walked
        return None


def wait_for(role, name, within=None):
    found = []
    expect(lambda: found.append(find(within or application(), role, name)) or found[-1],
           f"no {role} named {name!r}", 5.0)
    return found[-1]
