// Platforms whose session bus, if any, is never started by a program.
#include "platform/SessionBus.h"

void UseOnlyTheDesktopsSessionBus() {}
