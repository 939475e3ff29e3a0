#pragma once
// A system-wide hot key that keeps working while the program's windows are
// hidden or inactive. Each press is reported as the notification
// (kHotKeyNumber, 0) posted to a widget (see Notification.h). One hot key is
// held at a time.
#include "platform/VirtualKeyCodes.h"
#include "platform/WindowHandle.h"

// The identifier registration returns and the first value of every press
// notification.
inline constexpr int kHotKeyNumber = 33001;

// Modifier bits, numbered as the classic hot-key interface numbers them.
enum HotKeyModifier {
    HotKeyAlt = 0x1,
    HotKeyControl = 0x2,
    HotKeyShift = 0x4,
    HotKeyWin = 0x8,
};

// Claims the key given by a classic virtual-key code (VK_OEM_3 unless the
// user chose another), held with exactly the given modifiers; CapsLock and
// NumLock do not matter. Returns kHotKeyNumber, or 0 when the key cannot be claimed:
// another program holds it, a hot key is already registered, the key is
// unknown, or the platform has no global hot keys. Failures are only logged.
int RegisterHotKey(WindowHandle owner, WindowHandle notifyTarget, int modifiers, int virtualKey);

// Releases the hot key that owner registered under id; anything else is ignored.
void UnregisterHotKey(WindowHandle owner, int id);
