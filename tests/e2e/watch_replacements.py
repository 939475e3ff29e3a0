#!/usr/bin/env python3
"""Reports every write of one file until it is stopped.

watch_replacements.py FILE
Prints "watching" once the watch is in place, then "replaced" each time a
new file is renamed over FILE and "written" each time FILE itself is closed
after writing.
"""
import ctypes
import os
import struct
import sys

IN_CLOSE_WRITE = 0x08
IN_MOVED_TO = 0x80
EVENT_HEADER = struct.Struct("iIII")


def main():
    path = sys.argv[1]
    folder, name = os.path.split(os.path.abspath(path))
    libc = ctypes.CDLL(None, use_errno=True)
    watch = libc.inotify_init()
    if watch < 0 or libc.inotify_add_watch(watch, folder.encode(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0:
        sys.exit(f"watch_replacements.py: cannot watch {folder}: {os.strerror(ctypes.get_errno())}")
    print("watching", flush=True)
    while True:
        events = os.read(watch, 65536)
        offset = 0
        while offset < len(events):
            _, mask, _, length = EVENT_HEADER.unpack_from(events, offset)
            start = offset + EVENT_HEADER.size
            offset = start + length
            if events[start:offset].rstrip(b"\0").decode(errors="replace") == name:
                print("replaced" if mask & IN_MOVED_TO else "written", flush=True)


if __name__ == "__main__":
    main()
