#include "ui/VirtualKey.h"

#include <QKeyEvent>

int VirtualKeyOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}
