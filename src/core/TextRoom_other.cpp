#include "core/TextRoom.h"

void ReserveTextRoom(QString &text, qsizetype units)
{
    text.reserve(units);
}
