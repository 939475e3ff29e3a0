#!/usr/bin/python3
"""Reads a running program's accessibility tree through AT-SPI, as a screen
reader does.

atspi_tree.py PID [ROLE NAME] [--showing]
Prints every accessible below the application of process PID, or below its
first accessible with that role and name (with --showing only those on
screen, not those hidden or inside a hidden one), one a line: role, a tab, name, and
for an item that is checked (a menu item's check mark) a tab and "checked".
Control characters in names are printed as \\r, \\n, \\t (a backslash as
\\\\), so that a line end kept in a name shows. Exits 1 when there is no such
application or accessible (yet).

Runs under Debian's python3: PyGObject and the Atspi typelib are its packages.
"""
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# Deeper than any window of the reader; a guard against a broken tree.
MAX_DEPTH = 40


def escaped(name):
    return (name.replace("\\", "\\\\").replace("\r", "\\r")
            .replace("\n", "\\n").replace("\t", "\\t"))


def check_mark(node):
    return "\tchecked" if node.get_state_set().contains(Atspi.StateType.CHECKED) else ""


def children(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def descendants(node, depth=0, only_showing=False):
    if depth > MAX_DEPTH:
        return
    for child in children(node):
        if only_showing and not showing(child):
            continue
        yield child
        yield from descendants(child, depth + 1, only_showing)


def application(pid):
    desktop = Atspi.get_desktop(0)
    for app in children(desktop):
        try:
            if app.get_process_id() == pid:
                return app
        except GLib.Error:
            continue  # an application that went away meanwhile
    return None


def main():
    only_showing = "--showing" in sys.argv[1:]
    args = [arg for arg in sys.argv[1:] if arg != "--showing"]
    pid = int(args[0])
    app = application(pid)
    if app is None:
        print(f"no accessible application of process {pid}", file=sys.stderr)
        return 1
    top = app
    if len(args) == 3:
        role, name = args[1], args[2]
        top = next((n for n in descendants(app)
                    if n.get_role_name() == role and n.get_name() == name), None)
        if top is None:
            print(f"no {role} named {name}", file=sys.stderr)
            return 1
    for node in descendants(top, only_showing=only_showing):
        print(f"{node.get_role_name()}\t{escaped(node.get_name() or '')}{check_mark(node)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
