#!/usr/bin/python3
"""Stands in for a screen reader on the AT-SPI bus: registers for every object and focus event,
as screen readers do, and receives them until it is ended (SIGTERM), then prints how many came.
With a listener registered, Qt's bridge sends the events that reach a screen reader user."""
import signal
import sys

import dbus
import dbus.mainloop.glib
from gi.repository import GLib

dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
session = dbus.SessionBus()
address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus")
bus = dbus.bus.BusConnection(address)

received = 0


def count(*_args, **_kwargs):
    global received
    received += 1


bus.add_signal_receiver(count, bus_name=None, path=None, dbus_interface=None, member_keyword="member")
registry = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/registry")
for event in ("object:", "focus:", "window:"):
    registry.RegisterEvent(event, dbus.Array([], signature="s"), "", dbus_interface="org.a11y.atspi.Registry")

loop = GLib.MainLoop()


def stop():
    loop.quit()
    return GLib.SOURCE_REMOVE


GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, stop)
print("listening", flush=True)
loop.run()
print(f"screen reader stand-in: {received} events received", file=sys.stderr, flush=True)
