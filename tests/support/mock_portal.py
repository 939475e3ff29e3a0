#!/usr/bin/python3
"""A stand-in for the desktop portal's global shortcuts, for tests on a
private session bus.

    mock_portal.py MODE RECORD_FILE

MODE says how it answers: "bind" grants the session and binds every shortcut,
"configure" does the same as version 2 of the interface, which adds
ConfigureShortcuts, "error" refuses CreateSession with a D-Bus error, "refuse"
answers it with response 2 (the user said no). Each call it receives is appended to
RECORD_FILE as one line, after a first line "ready" once the portal's name is
held. The test fires the bound shortcut with the method Activate of
test.folivar.MockPortal on the portal object (dbus-send or any client).
"""
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"


def record(*fields):
    with open(sys.argv[2], "a", encoding="utf-8") as log:
        log.write(" ".join(str(field) for field in fields) + "\n")


def object_path(kind, sender, token):
    return "%s/%s/%s/%s" % (PATH, kind, sender[1:].replace(".", "_"), token)


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass

    def answer(self, response, results):
        self.Response(dbus.UInt32(response), dbus.Dictionary(results, signature="sv"))
        self.remove_from_connection()
        return False


class Session(dbus.service.Object):
    def __init__(self, portal, path):
        super().__init__(portal.connection, path)
        self.portal = portal
        self.path = path
        self.shortcuts = []

    @dbus.service.method("org.freedesktop.portal.Session")
    def Close(self):
        record("Close")
        self.portal.session = None
        self.remove_from_connection()


class Portal(dbus.service.Object):
    def __init__(self, bus, mode):
        super().__init__(bus, PATH)
        self.mode = mode
        self.session = None

    def respond(self, sender, token, response, results):
        request = Request(self.connection, object_path("request", sender, token))
        GLib.idle_add(request.answer, response, results)
        return request.__dbus_object_path__

    @dbus.service.method("org.freedesktop.host.portal.Registry", in_signature="sa{sv}")
    def Register(self, app_id, options):
        record("Register", app_id)

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, interface, name):
        if interface == SHORTCUTS and name == "version":
            return dbus.UInt32(2 if self.mode == "configure" else 1)
        raise dbus.exceptions.DBusException(name, name="org.freedesktop.DBus.Error.UnknownProperty")

    @dbus.service.method(SHORTCUTS, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender):
        record("CreateSession")
        if self.mode == "error":
            raise dbus.exceptions.DBusException("not allowed", name="org.freedesktop.portal.Error.NotAllowed")
        if self.mode == "refuse":
            return self.respond(sender, options["handle_token"], 2, {})
        path = object_path("session", sender, options["session_handle_token"])
        self.session = Session(self, path)
        return self.respond(sender, options["handle_token"], 0, {"session_handle": path})

    @dbus.service.method(SHORTCUTS, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent_window, options, sender):
        bound = []
        for shortcut_id, properties in shortcuts:
            record("BindShortcuts", shortcut_id, properties["description"], properties["preferred_trigger"])
            bound.append((shortcut_id, {"description": properties["description"], "trigger_description": "`"}))
        self.session.shortcuts = [shortcut_id for shortcut_id, _ in shortcuts]
        results = {"shortcuts": dbus.Array(bound, signature="(sa{sv})")}
        return self.respond(sender, options["handle_token"], 0, results)

    @dbus.service.method(SHORTCUTS, in_signature="osa{sv}")
    def ConfigureShortcuts(self, session, parent_window, options):
        record("ConfigureShortcuts", session == (self.session and self.session.path))

    @dbus.service.signal(SHORTCUTS, signature="osta{sv}")
    def Activated(self, session_handle, shortcut_id, timestamp, options):
        pass

    @dbus.service.method("test.folivar.MockPortal")
    def Activate(self):
        if self.session:
            for shortcut_id in self.session.shortcuts:
                self.Activated(dbus.ObjectPath(self.session.path), shortcut_id, dbus.UInt64(0),
                               dbus.Dictionary({}, signature="sv"))


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    portal = Portal(bus, sys.argv[1])
    name = dbus.service.BusName(NAME, bus)
    record("ready")
    GLib.MainLoop().run()
    del portal, name


if __name__ == "__main__":
    main()
