#!/usr/bin/python3
"""A small StatusNotifierItem tray for tests, on the session bus of
$DBUS_SESSION_BUS_ADDRESS.

  sni_host.py serve
      Owns org.kde.StatusNotifierWatcher (with introspection of its
      properties, as Plasma's watcher answers it) and registers itself as the
      host. Prints "item SERVICE" for every item that registers and "gone
      SERVICE" when its owner leaves the bus. Runs until killed.
  sni_host.py items
      Prints the registered items, one a line.
  sni_host.py prop SERVICE NAME
      Prints a property of the item (its value in GVariant text form).
  sni_host.py activate SERVICE | context SERVICE | secondary SERVICE
      Calls Activate, ContextMenu or SecondaryActivate (0, 0) on the item.
  sni_host.py menu SERVICE
      Prints the labels of the top-level entries of the item's exported menu
      (DBusMenu GetLayout) without their access-key marks, one a line,
      separators as "--".
  sni_host.py click SERVICE LABEL
      Sends "clicked" to the top-level menu entry with that label.

Exit status 0, or 1 with a message on stderr.
"""
import sys

from gi.repository import Gio, GLib

WATCHER = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM_PATH = "/StatusNotifierItem"
ITEM_IFACE = "org.kde.StatusNotifierItem"
MENU_IFACE = "com.canonical.dbusmenu"

WATCHER_XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
    <signal name="StatusNotifierHostUnregistered"/>
  </interface>
</node>
"""


def bus():
    return Gio.bus_get_sync(Gio.BusType.SESSION, None)


def call(service, path, iface, method, args, reply=None):
    return bus().call_sync(service, path, iface, method, args,
                           GLib.VariantType(reply) if reply else None,
                           Gio.DBusCallFlags.NONE, 5000, None)


def serve():
    connection = bus()
    items = []
    print_flush = lambda text: (print(text), sys.stdout.flush())

    def emit(name, args):
        connection.emit_signal(None, WATCHER_PATH, WATCHER, name, args)

    def method_call(conn, sender, path, iface, method, params, invocation):
        if method == "RegisterStatusNotifierItem":
            service = params.unpack()[0]
            # Qt names its item by its own bus name; a path alone means the sender.
            if service.startswith("/"):
                service = sender
            if service not in items:
                items.append(service)
                print_flush("item " + service)
                emit("StatusNotifierItemRegistered", GLib.Variant("(s)", (service,)))
            invocation.return_value(None)
        elif method == "RegisterStatusNotifierHost":
            invocation.return_value(None)
        else:
            invocation.return_dbus_error("org.freedesktop.DBus.Error.UnknownMethod", method)

    def get_property(conn, sender, path, iface, name):
        if name == "RegisteredStatusNotifierItems":
            return GLib.Variant("as", items)
        if name == "IsStatusNotifierHostRegistered":
            return GLib.Variant("b", True)
        if name == "ProtocolVersion":
            return GLib.Variant("i", 0)
        return None

    def owner_changed(conn, sender, path, iface, signal, params):
        name, old, new = params.unpack()
        if name in items and not new:
            items.remove(name)
            print_flush("gone " + name)
            emit("StatusNotifierItemUnregistered", GLib.Variant("(s)", (name,)))

    node = Gio.DBusNodeInfo.new_for_xml(WATCHER_XML)
    connection.register_object(WATCHER_PATH, node.interfaces[0], method_call, get_property, None)
    connection.signal_subscribe("org.freedesktop.DBus", "org.freedesktop.DBus", "NameOwnerChanged",
                                "/org/freedesktop/DBus", None, Gio.DBusSignalFlags.NONE, owner_changed)

    def acquired(conn, name):
        print_flush("watcher")

    host_name = "org.kde.StatusNotifierHost-%d" % GLib.get_real_time()
    Gio.bus_own_name_on_connection(connection, host_name, Gio.BusNameOwnerFlags.NONE, None, None)
    Gio.bus_own_name_on_connection(connection, WATCHER, Gio.BusNameOwnerFlags.NONE, acquired,
                                   lambda conn, name: (print("lost watcher name", file=sys.stderr), sys.exit(1)))
    GLib.MainLoop().run()


def menu_entries(service):
    path = prop_value(service, "Menu")
    layout = call(service, path, MENU_IFACE, "GetLayout",
                  GLib.Variant("(iias)", (0, 1, [])), "(u(ia{sv}av))").unpack()
    entries = []
    for child in layout[1][2]:
        ident, props, _ = child
        if props.get("type") == "separator":
            entries.append((ident, "--"))
        elif props.get("visible", True):
            # "_" marks the access key; "__" is a plain underscore.
            label = props.get("label", "").replace("__", "\0").replace("_", "").replace("\0", "_")
            entries.append((ident, label))
    return path, entries


def prop_value(service, name):
    return call(service, ITEM_PATH, "org.freedesktop.DBus.Properties", "Get",
                GLib.Variant("(ss)", (ITEM_IFACE, name)), "(v)").unpack()[0]


def main(argv):
    if not argv:
        print(__doc__, file=sys.stderr)
        return 1
    command, args = argv[0], argv[1:]
    try:
        if command == "serve":
            serve()
        elif command == "items":
            value = call(WATCHER, WATCHER_PATH, "org.freedesktop.DBus.Properties", "Get",
                         GLib.Variant("(ss)", (WATCHER, "RegisteredStatusNotifierItems")), "(v)")
            for item in value.unpack()[0]:
                print(item)
        elif command == "prop":
            print(prop_value(args[0], args[1]))
        elif command in ("activate", "context", "secondary"):
            method = {"activate": "Activate", "context": "ContextMenu",
                      "secondary": "SecondaryActivate"}[command]
            call(args[0], ITEM_PATH, ITEM_IFACE, method, GLib.Variant("(ii)", (0, 0)))
        elif command == "menu":
            for _, label in menu_entries(args[0])[1]:
                print(label)
        elif command == "click":
            path, entries = menu_entries(args[0])
            matches = [ident for ident, label in entries if label == args[1]]
            if not matches:
                print("no menu entry " + args[1], file=sys.stderr)
                return 1
            call(args[0], path, MENU_IFACE, "Event",
                 GLib.Variant("(isvu)", (matches[0], "clicked", GLib.Variant("i", 0), 0)))
        else:
            print("unknown command " + command, file=sys.stderr)
            return 1
    except GLib.Error as error:
        print(error.message, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
