#include "app/BookFromOutside.h"
#include "app/MainWindow.h"
#include "app/ReaderServices.h"
#include "core/Settings.h"
#include "platform/ReaderInstance.h"
#include "platform/SessionBus.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

// The books named on the command line, absolute (a reader already running
// has another current folder); --help is answered here.
QStringList BooksOnCommandLine(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Folivar：按章节阅读中文长篇 TXT 小说"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("文件"), QStringLiteral("要打开的书（.txt），只打开第一本"),
                                 QStringLiteral("[文件…]"));
    parser.process(app);
    return BookPathsFrom(parser.positionalArguments());
}

} // namespace

int main(int argc, char *argv[])
{
    UseOnlyTheDesktopsSessionBus();
    QApplication app(argc, argv);
    // Lets desktops match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.folivar.Folivar"));
    const QStringList books = BooksOnCommandLine(app);
    // A reader already running on these settings takes over; this one ends.
    ReaderInstance instance(SettingsPathFor(QCoreApplication::applicationDirPath()));
    if (instance.HandOverOrServe(books))
        return 0;
    ReaderServices services;
    services.instance = &instance;
    services.bookToOpen = books.value(0);
    MainWindow window(services);
    return app.exec();
}
