#include "app/BookFromOutside.h"
#include "app/MainWindow.h"
#include "app/ReaderServices.h"
#include "core/BookFileName.h"
#include "core/Settings.h"
#include "platform/ReaderInstance.h"
#include "platform/SessionBus.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

// The arguments left once Qt has taken its own. Qt reads them as UTF-8 and
// loses the bytes of a file name that is none (a GBK name from a file
// manager): each becomes a book path from its own bytes instead.
QStringList ArgumentsOf(const QApplication &app, int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    Q_UNUSED(app);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << BookPathOf(QByteArray(argv[i]));
    return arguments;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return app.arguments();
#endif
}

// The books named on the command line, absolute (a reader already running
// has another current folder); --help is answered here.
QStringList BooksOnCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Folivar：按章节阅读中文长篇 TXT 小说"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("文件"), QStringLiteral("要打开的书（.txt），只打开第一本"),
                                 QStringLiteral("[文件…]"));
    parser.process(arguments);
    return BookPathsFrom(parser.positionalArguments());
}

} // namespace

int main(int argc, char *argv[])
{
    UseOnlyTheDesktopsSessionBus();
    QApplication app(argc, argv);
    // Lets desktops match the window to its menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.folivar.Folivar"));
    const QStringList books = BooksOnCommandLine(ArgumentsOf(app, argc, argv));
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
