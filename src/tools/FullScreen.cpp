#include "tools/FullScreen.h"

#include <QWidget>

void OnToggleFullScreen(QWidget &window)
{
    if (window.isFullScreen())
        window.showNormal();
    else
        window.showFullScreen();
}

void OnLeaveFullScreen(QWidget &window)
{
    if (window.isFullScreen())
        window.showNormal();
}
