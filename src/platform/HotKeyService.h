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

// Who picks the key on this session.
enum class HotKeyChooser {
    Program, // the key given to RegisterHotKey is the key (X11, Windows)
    Desktop, // the desktop binds it, offered the given key, and lets the user
             // pick another in its own dialog (the portal on Wayland)
    Nobody,  // no global hot keys here
};
// On a Wayland session the desktop portal is asked, which takes at most 5 s.
HotKeyChooser HotKeyChooserHere();

// Where the desktop picks the key: asks it to show its dialog for the hot key
// owner holds under id, and returns at once. False, changing nothing, when it
// cannot: the desktop's portal has no such dialog, or has not bound the key
// (yet). Registering the key again then binds it afresh, which is when
// desktops show their dialog.
bool ConfigureHotKey(WindowHandle owner, int id);
