#include "support/WaitForStartUp.h"

#include "app/MainWindow.h"
#include "app/Startup.h"

bool WaitForStartUp(const MainWindow &window, int timeoutMs)
{
    return WaitUntil([&window] { return window.StartUp().IsFinished(); }, timeoutMs);
}
