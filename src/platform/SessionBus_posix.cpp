#include "platform/SessionBus.h"

#include "platform/Log.h"

#include <QFileInfo>
#include <QtGlobal>

void UseOnlyTheDesktopsSessionBus()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return;
    // Where the variable is not set, libdbus looks here first.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime + QStringLiteral("/bus")).exists())
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    qCInfo(lcPlatform) << "no session bus is named: the reader does without one";
}
