#include "ProcessPendingEvents.h"

#include <QCoreApplication>

void ProcessPendingEvents()
{
    QCoreApplication::processEvents();
}
