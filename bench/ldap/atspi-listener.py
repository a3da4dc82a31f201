#!/usr/bin/python3
"""Stands in for a screen reader on the AT-SPI bus. It registers through pyatspi for the events a
screen reader follows (value, text, name, state and children changes, focus, windows), so that
Qt's bridge sends them, and does what a screen reader does with them: on a value, text or name
change it reads the new value, text or name back from the window, each a D-Bus call the window
answers. When it is ended (SIGTERM) it prints how many events of each kind came."""
import collections
import signal
import sys

import pyatspi
from gi.repository import GLib

EVENTS = (
    "object:property-change:accessible-value",
    "object:property-change:accessible-name",
    "object:text-changed",
    "object:state-changed",
    "object:children-changed",
    "focus",
    "window",
)

received = collections.Counter()
read_back = 0
failed_reads = 0


def read_source(event):
    """What a screen reader reads back before it speaks: the value, the text or the name. Each is
    asked of the window itself, not of pyatspi's idea of the interfaces it has."""
    source = event.source
    if event.type.startswith("object:property-change:accessible-value"):
        return source.get_current_value()
    if event.type.startswith("object:property-change:accessible-name"):
        return source.get_name()
    if event.type.startswith("object:text-changed"):
        return source.get_text(0, -1)
    return None


def kind_of(event_type):
    """The kind without its detail: "object:state-changed:busy" counts as object:state-changed, a
    property change keeps the property ("object:property-change:accessible-value")."""
    parts = event_type.split(":")
    if parts[:2] == ["object", "property-change"]:
        return ":".join(parts[:3])
    return ":".join(parts[:2] if parts[0] == "object" else parts[:1])


def on_event(event):
    global read_back, failed_reads
    received[kind_of(event.type)] += 1
    try:
        if read_source(event) is not None:
            read_back += 1
    except Exception:  # the source went away, or the window did not answer in time
        failed_reads += 1


def stop():
    pyatspi.Registry.stop()
    return GLib.SOURCE_REMOVE


pyatspi.Registry.registerEventListener(on_event, *EVENTS)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, stop)
print("listening", flush=True)
pyatspi.Registry.start()

total = sum(received.values())
lines = [f"screen reader stand-in: {total} events received, {read_back} read back ({failed_reads} reads failed)"]
lines += [f"  {kind}: {count}" for kind, count in sorted(received.items())]
print("\n".join(lines), file=sys.stderr, flush=True)
