#include "app/MainWindow.h"
#include "app/ReaderState.h"
#include "core/Settings.h"
#include "platform/ReaderInstance.h"
#include "platform/SessionBus.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    UseOnlyTheDesktopsSessionBus();
    QApplication app(argc, argv);
    // Lets desktops match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.folivar.Folivar"));
    // A reader already running on these settings takes over; this one ends.
    ReaderInstance instance(SettingsPathFor(QCoreApplication::applicationDirPath()));
    if (instance.HandOverOrServe(QCoreApplication::arguments().mid(1)))
        return 0;
    ReaderState state;
    state.instance = &instance;
    MainWindow window(state);
    return app.exec();
}
