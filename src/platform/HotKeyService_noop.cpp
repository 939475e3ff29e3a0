// Platforms without a global hot-key facility: registration always fails.
#include "HotKeyService.h"

#include "ToolsLog.h"

int RegisterHotKey(WindowHandle, WindowHandle, int, int)
{
    qCInfo(lcPlatformTools) << "hot key: not supported on this platform";
    return 0;
}

void UnregisterHotKey(WindowHandle, int) {}
