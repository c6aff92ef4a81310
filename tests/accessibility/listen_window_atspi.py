#!/usr/bin/python3
"""Checks the running Listen window over AT-SPI as a screen reader meets it: every control has a
name; with "Announce each completed row" ticked, a row typed into the copy pad is announced with
its decoded values. Prints what was heard; exits with 1 when something is missing."""
import sys
import time

import pyatspi
from gi.repository import GLib

NAMED_ROLES = {"push button", "check box", "combo box", "text", "spin button", "progress bar",
               "slider"}


def find_application(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    return None


def walk(node, depth, found):
    found.append((depth, node))
    for child in node:
        if child is not None:
            walk(child, depth + 1, found)


def main():
    app = find_application("ao07-telemetry", 15)
    if app is None:
        print("ao07-telemetry did not appear on the accessibility bus")
        return 1
    nodes = []
    walk(app, 0, nodes)
    unnamed = []
    by_name = {}
    for depth, node in nodes:
        role, name = node.getRoleName(), node.name or ""
        print("%s%s | %s" % ("  " * depth, role, name))
        by_name.setdefault(name, node)
        if role in NAMED_ROLES and not name:
            unnamed.append(role)
    for role in unnamed:
        print("UNNAMED: a %s" % role)

    heard = []

    def on_name(event):
        if event.source.name and event.source.name.startswith("Row "):
            heard.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_name, "object:property-change:accessible-name")
    announce = by_name.get("Announce each completed row")
    pad = by_name.get("Copy pad")
    if announce is None or pad is None:
        print("MISSING: the announce check box or the copy pad")
        return 1
    announce.queryAction().doAction(0)
    row = "205 250 299 250\n"
    pad.queryEditableText().insertText(0, row, len(row))

    loop = GLib.MainLoop()
    GLib.timeout_add(2000, loop.quit)
    loop.run()
    for text in heard:
        print("ANNOUNCED: %s" % text)
    if not heard:
        print("MISSING: no announcement of the typed row")
    return 1 if unnamed or not heard else 0


if __name__ == "__main__":
    sys.exit(main())
