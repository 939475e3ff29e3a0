// Platforms whose programs are asked to end through their windows only (a
// Windows session ending closes the windows): nothing to watch.
#include "platform/TerminationRequests.h"

void WatchTerminationRequests(QObject *, std::function<void()>) {}
