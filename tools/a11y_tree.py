#!/usr/bin/python3
"""Prints what a screen reader is given for a running Tivoran: every
accessible object of the game's windows with its role, name and description,
indented by depth.

Run it inside the desktop session the game runs in (the same D-Bus session
and accessibility bus), for example

    python3 tools/a11y_tree.py            # the application named tivoran
    python3 tools/a11y_tree.py --all      # every application on the bus
"""

import argparse
import sys

import pyatspi


def dump(node, depth, out):
    try:
        role = node.getRoleName()
        name = node.name or ""
        description = node.description or ""
        states = node.getState()
    except Exception as error:  # an object gone while walking
        out.write("%s<gone: %s>\n" % ("  " * depth, error))
        return
    line = "%s[%s] %r" % ("  " * depth, role, name)
    if description:
        line += " — %r" % description
    if states.contains(pyatspi.STATE_FOCUSED):
        line += " (focused)"
    if not states.contains(pyatspi.STATE_SHOWING) and depth > 1:
        line += " (hidden)"
    out.write(line + "\n")
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            dump(child, depth + 1, out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--app", default="tivoran", help="application name to dump (default: tivoran)")
    parser.add_argument("--all", action="store_true", help="dump every application on the bus")
    args = parser.parse_args()

    desktop = pyatspi.Registry.getDesktop(0)
    found = False
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is None:
            continue
        if args.all or (app.name or "").lower() == args.app.lower():
            found = True
            dump(app, 0, sys.stdout)
    if not found:
        names = [desktop.getChildAtIndex(i).name for i in range(desktop.childCount)]
        sys.stderr.write("no application %r on the accessibility bus (found: %s)\n" % (args.app, names))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
