#!/usr/bin/env python3
"""Asks windows to close, as a task bar or a window manager does.

close_windows.py WINDOW...
Sends each window a WM_DELETE_WINDOW client message, all in one burst, so
that several readers get their close requests at the same moment.
"""
import ctypes
import ctypes.util
import sys


class ClientMessageEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class Event(ctypes.Union):
    # XEvent is 24 longs whatever its kind.
    _fields_ = [("client", ClientMessageEvent), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33


def main():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(Event)]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("close_windows.py: cannot open the display")
    protocols = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    delete_window = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    for window in sys.argv[1:]:
        event = Event()
        event.client.type = CLIENT_MESSAGE
        event.client.window = int(window)
        event.client.message_type = protocols
        event.client.format = 32
        event.client.data[0] = delete_window
        x11.XSendEvent(display, int(window), 0, 0, ctypes.byref(event))
    x11.XSync(display, 0)
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
