#include "ui/ProcessPendingEvents.h"

#include <QCoreApplication>

void ProcessPendingEvents()
{
    QCoreApplication::processEvents();
}
