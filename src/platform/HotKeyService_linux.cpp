// Linux desktops: the X11 grab on X11 sessions; on Wayland sessions, where a
// grab only sees keys while one of our X11 windows has focus, the desktop
// portal's global shortcuts when it offers them, else the grab under XWayland.
#include "platform/HotKeyService.h"

#include "platform/Log.h"
#include "platform/PortalHotKey.h"
#include "platform/X11HotKey.h"

#include <QGuiApplication>

namespace {

bool OnWaylandSession()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

} // namespace

HotKeyChooser HotKeyChooserHere()
{
    if (!OnWaylandSession())
        return HotKeyChooser::Program;
    if (PortalOffersGlobalShortcuts())
        return HotKeyChooser::Desktop;
    return QtRunsOnXcb() ? HotKeyChooser::Program : HotKeyChooser::Nobody;
}

int RegisterHotKey(WindowHandle owner, WindowHandle notifyTarget, int modifiers, int virtualKey)
{
    switch (HotKeyChooserHere()) {
    case HotKeyChooser::Program:
        return RegisterX11HotKey(owner, notifyTarget, modifiers, virtualKey);
    case HotKeyChooser::Desktop:
        return RegisterPortalHotKey(owner, notifyTarget, modifiers, virtualKey);
    case HotKeyChooser::Nobody:
        break;
    }
    qCInfo(lcPlatform) << "hot key: this Wayland session offers no global shortcuts";
    return 0;
}

void UnregisterHotKey(WindowHandle owner, int id)
{
    // Each backend ignores a hot key it does not hold.
    UnregisterPortalHotKey(owner, id);
    UnregisterX11HotKey(owner, id);
}

bool ConfigureHotKey(WindowHandle owner, int id)
{
    return ConfigurePortalHotKey(owner, id);
}
