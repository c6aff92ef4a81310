#!/usr/bin/python3
"""Lists the accessible objects of the running ao07-telemetry over AT-SPI, one line each:
role, name and description (a value box's value, a text box's text), indented by depth. With --expect NAME=VALUE
pairs it also checks that an object of that name has that description, and exits with 1 when
one is missing."""
import sys
import time

import pyatspi


def find_application(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    return None


def walk(node, depth, lines, found):
    role = node.getRoleName()
    name = node.name or ""
    description = node.description or ""
    if role == "text":  # a text box is heard by its text
        text = node.queryText()
        description = text.getText(0, text.characterCount)
    lines.append("%s%s | %s | %s" % ("  " * depth, role, name, description))
    found.setdefault(name, []).append(description)
    for child in node:
        if child is not None:
            walk(child, depth + 1, lines, found)


def main():
    expected = [arg.split("=", 1) for arg in sys.argv[1:] if "=" in arg]
    app = find_application("ao07-telemetry", 15)
    if app is None:
        print("ao07-telemetry did not appear on the accessibility bus")
        return 1
    lines, found = [], {}
    walk(app, 0, lines, found)
    print("\n".join(lines))
    missing = [(n, v) for n, v in expected if v not in found.get(n, [])]
    for name, value in missing:
        print("MISSING: %s = %s (heard: %s)" % (name, value, found.get(name)))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
