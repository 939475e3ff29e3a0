// Platforms without a global hot-key facility: registration always fails.
#include "platform/HotKeyService.h"

#include "platform/Log.h"

int RegisterHotKey(WindowHandle, WindowHandle, int, int)
{
    qCInfo(lcPlatform) << "hot key: not supported on this platform";
    return 0;
}

void UnregisterHotKey(WindowHandle, int) {}

HotKeyChooser HotKeyChooserHere()
{
    return HotKeyChooser::Nobody;
}

bool ConfigureHotKey(WindowHandle, int)
{
    return false;
}
