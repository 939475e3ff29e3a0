#pragma once
// The desktop's D-Bus session bus, which Qt uses for screen readers, the
// global menu and the desktop portal.

// Keeps the program from starting a session bus of its own where the desktop
// names none (a bare X session): libdbus would launch one for the display
// through dbus-launch, which blocks start-up for up to a second, leaves
// processes behind on the display, and was present in every hang at close
// seen on such sessions. Call before the application object exists.
void UseOnlyTheDesktopsSessionBus();
