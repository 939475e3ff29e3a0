#include "app/MainWindow.h"
#include "app/ReaderState.h"
#include "platform/SessionBus.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    UseOnlyTheDesktopsSessionBus();
    QApplication app(argc, argv);
    // Lets desktops match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.folivar.Folivar"));
    ReaderState state;
    MainWindow window(state);
    return app.exec();
}
