# A panel's watcher whose host takes every item and shows none: it never lists them. Real panels
# refuse an item in this way when they cannot read what they need of it. On SIGUSR1 it mends its
# ways: it lists what registers and tells that its host came back. It prints each registration.
import signal
import sys

from gi.repository import Gio, GLib

XML = """<node><interface name="org.kde.StatusNotifierWatcher">
<method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
<method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
<property name="RegisteredStatusNotifierItems" type="as" access="read"/>
<property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
<property name="ProtocolVersion" type="i" access="read"/>
<signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
<signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
<signal name="StatusNotifierHostRegistered"/>
</interface></node>"""

listed = []
lists = False


def call(connection, sender, path, interface, method, parameters, invocation):
    if method == "RegisterStatusNotifierItem":
        print("registered", parameters.unpack()[0], flush=True)
        if lists:
            listed.append(sender + "/StatusNotifierItem")
    invocation.return_value(None)


def get(connection, sender, path, interface, name):
    if name == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", listed)
    if name == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", True)
    return GLib.Variant("i", 0)


def mend():
    global lists
    lists = True
    bus.emit_signal(None, "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
                    "StatusNotifierHostRegistered", None)
    return GLib.SOURCE_REMOVE


bus = Gio.bus_get_sync(Gio.BusType.SESSION)
interface = Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0]
bus.register_object("/StatusNotifierWatcher", interface, call, get, None)
Gio.bus_own_name_on_connection(bus, "org.kde.StatusNotifierWatcher", 0,
                               lambda *_: print("up", flush=True), None)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, mend)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda: sys.exit(0))
GLib.MainLoop().run()
