#!/usr/bin/python3
"""Watches a starting program's reading pane through AT-SPI, as a screen
reader would, from before the program is on the accessibility bus.

watch_pane.py PID ROW [--items N]
Waits until the pane (named 正文) holds text, or with --items until the
chapter list (named 章节) holds N items; then prints the chapter list's item
count and the name of its selected item, a tab between them, on one line,
and the pane's text at that moment after it. The selected item
is looked for in the first row of a list of one item and in row ROW of a
longer one; the name is empty when that row is not selected. Exits 1 when
that does not come within a minute or the program ends.

Polls as fast as the answers come: what the pane shows before the whole book
is read may be there for a moment only.
Runs under Debian's python3: PyGObject and the Atspi typelib are its packages.
"""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

from atspi_tree import children  # noqa: E402

PATIENCE_SECONDS = 60
# A pause between polls, so that the watcher leaves the program its cores.
POLL_SECONDS = 0.002


def application(pid):
    # Nothing dispatches the registry's events here: its cached list of
    # applications would never see the program arrive.
    desktop = Atspi.get_desktop(0)
    desktop.clear_cache()
    for app in children(desktop):
        try:
            if app.get_process_id() == pid:
                return app
        except GLib.Error:
            continue  # an application that went away meanwhile
    return None


def named(top, role, name):
    """The first accessible below top of that role and name; the insides of
    lists (thousands of chapters) are not searched."""
    for child in children(top):
        if child.get_role_name() == role and child.get_name() == name:
            return child
        if child.get_role_name() != "list":
            found = named(child, role, name)
            if found is not None:
                return found
    return None


def pane_and_list(pid):
    app = application(pid)
    if app is None:
        return None, None
    # Counts and texts change as the book arrives: asked for every time.
    app.set_cache_mask(Atspi.Cache.NONE)
    pane = named(app, "text", "正文")
    chapters = named(app, "list", "章节")
    return (pane, chapters) if pane is not None and chapters is not None else (None, None)


def selected_name(chapters, count, row):
    item = chapters.get_child_at_index(0 if count == 1 else row)
    if item is None or not item.get_state_set().contains(Atspi.StateType.SELECTED):
        return ""
    return item.get_name()


def list_state(chapters, row):
    """The item count and the selected item's name, read again should the
    list fill in between."""
    while True:
        count = chapters.get_child_count()
        name = selected_name(chapters, count, row)
        if chapters.get_child_count() == count:
            return count, name


def running(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            return not any(line.startswith("State:") and "zombie" in line for line in status)
    except OSError:
        return False


def watch(pid, row, items):
    pane = chapters = None
    deadline = time.monotonic() + PATIENCE_SECONDS
    while time.monotonic() < deadline and running(pid):
        try:
            if pane is None:
                pane, chapters = pane_and_list(pid)
            if pane is not None:
                text = Atspi.Text.get_text(pane, 0, -1)
                if text and (items is None or chapters.get_child_count() == items):
                    return list_state(chapters, row), text
        except GLib.Error:
            pane = chapters = None  # the tree was not whole yet
        time.sleep(POLL_SECONDS)
    return None


def main():
    args = sys.argv[1:]
    items = int(args[args.index("--items") + 1]) if "--items" in args else None
    seen = watch(int(args[0]), int(args[1]), items)
    if seen is None:
        print("the pane showed no text" if items is None else f"the chapter list never held {items} items",
              file=sys.stderr)
        return 1
    (count, name), text = seen
    sys.stdout.write(f"{count}\t{name}\n{text}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
