#pragma once
// The desktop portal backend of the hot-key service, for Wayland sessions: a
// global shortcut ("toggle-reader") bound through the portal's
// GlobalShortcuts interface on the session bus. The desktop may ask the user
// to confirm the key or let them pick another; whatever it binds fires the
// same notification as the X11 grab.
#include "platform/WindowHandle.h"

// The id the shortcut is bound under; desktops list it with its description.
inline constexpr const char *kPortalShortcutId = "toggle-reader";

// True when the session bus has a portal that offers global shortcuts; the
// version it offers is kept for the next registration. Waits at most 5 s for
// the portal's answer.
bool PortalOffersGlobalShortcuts();

// Same contract as RegisterHotKey in HotKeyService.h, with one difference:
// the portal answers the session request later, so a refusal there or no
// answer within 5 s is logged and ends the session after kHotKeyNumber has
// been returned. 0 when the portal is missing, the key has no portal name,
// a shortcut is already held or the portal refuses the request outright.
int RegisterPortalHotKey(WindowHandle owner, WindowHandle notifyTarget, int modifiers, int virtualKey);

// Same contract as ConfigureHotKey in HotKeyService.h: the portal's
// ConfigureShortcuts, which came with version 2 of its interface, for the
// shortcut once bound. A failure the portal reports later is only logged.
bool ConfigurePortalHotKey(WindowHandle owner, int id);

// Closes the portal session owner registered under id; anything else is ignored.
void UnregisterPortalHotKey(WindowHandle owner, int id);
