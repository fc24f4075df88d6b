#!/usr/bin/python3
"""Finds the till's controls over AT-SPI as a screen reader or a GUI test tool does.

Usage: atspi_trova.py APP DESCRIPTION NAME NAME_DESCRIPTION
Passes when APP shows a control whose description is DESCRIPTION, and a control whose name is
NAME with the description NAME_DESCRIPTION. Waits up to 30 s for the application to appear.
"""
import sys
import time

import pyatspi


def walk(acc):
    yield acc
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def find_app(name):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == name:
            return app
    return None


def main():
    app_name, description, name, name_description = sys.argv[1:5]
    deadline = time.monotonic() + 30
    seen = []
    while time.monotonic() < deadline:
        app = find_app(app_name)
        if app is not None:
            seen = [(a.name, a.description) for a in walk(app)]
            by_description = [n for n, d in seen if d == description]
            by_name = [d for n, d in seen if n == name]
            if by_description and by_name:
                if by_name != [name_description]:
                    print(f"'{name}' has the descriptions {by_name}, not '{name_description}'")
                    return 1
                print(f"found '{description}' (name '{by_description[0]}') and "
                      f"'{name}' ({name_description})")
                return 0
        time.sleep(0.5)
    print(f"not found over AT-SPI in 30 s; application {app_name!r} "
          f"{'seen' if seen else 'not seen'}; controls: {seen[:40]}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
