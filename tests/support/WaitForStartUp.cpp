#include "support/WaitForStartUp.h"

#include "app/ReaderState.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

bool WaitForStartUp(const ReaderState &state, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!state.startedUp && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return state.startedUp;
}
