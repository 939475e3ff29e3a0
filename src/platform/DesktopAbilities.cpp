#include "platform/DesktopAbilities.h"

#include <QGuiApplication>

bool DesktopKeepsWindowsOnTop()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
