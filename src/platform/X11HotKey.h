#pragma once
// The X11 backend of the hot-key service: a key grab on the root window.
// Same contract as RegisterHotKey/UnregisterHotKey in HotKeyService.h.
#include "platform/WindowHandle.h"

// True when Qt talks to an X server (also XWayland's), so a grab can work.
bool QtRunsOnXcb();

int RegisterX11HotKey(WindowHandle owner, WindowHandle notifyTarget, int modifiers, int virtualKey);
void UnregisterX11HotKey(WindowHandle owner, int id);
