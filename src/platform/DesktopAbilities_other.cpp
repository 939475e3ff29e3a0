#include "platform/DesktopAbilities.h"

bool DesktopShowsThroughWindows()
{
    return true;
}
