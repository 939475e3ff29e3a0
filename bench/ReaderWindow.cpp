#include "ReaderWindow.h"

#include "app/MainWindow.h"
#include "app/ReaderServices.h"
#include "core/Settings.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "support/WaitForStartUp.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

Measurement MeasureInWindow(const QString &bookPath, const std::function<Measurement(MainWindow &)> &measure)
{
    const QString settingsPath = SettingsPathFor(QCoreApplication::applicationDirPath());
    QFile::remove(settingsPath);
    Settings settings;
    settings.bookDirectory = QFileInfo(bookPath).absolutePath() + QLatin1Char('/');
    SaveSettings(settingsPath, settings);
    Measurement measurement;
    {
        ReaderServices services;
        MainWindow window(services);
        if (WaitForStartUp(window))
            measurement = measure(window);
        else
            std::fprintf(stderr, "start-up did not finish\n");
    }
    QFile::remove(settingsPath);
    return measurement;
}

int BookRow(ReadingSession &session, const QString &fileName)
{
    const int row = session.BookShelf().Books().RowOf(fileName);
    if (row < 0)
        std::fprintf(stderr, "the book list does not hold %s\n", qPrintable(fileName));
    return row;
}

double OpenAndTime(ReadingSession &session, int book)
{
    QElapsedTimer timer;
    double shownMs = -1;
    const QMetaObject::Connection shown =
        QObject::connect(&session, &ReadingSession::bookShown, [&] { shownMs = MillisecondsOf(timer); });
    timer.start();
    session.OpenBookAt(book, [](const OpenBook &) { return ShownPlace{}; });
    WaitUntil([&] { return shownMs >= 0; });
    QObject::disconnect(shown);
    return shownMs;
}

double TimeChange(const std::function<void()> &change)
{
    QElapsedTimer timer;
    timer.start();
    change();
    QCoreApplication::processEvents();
    return MillisecondsOf(timer);
}

double MillisecondsOf(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

int MiddleChapter(const OpenBook &book)
{
    int chapter = 0;
    while (chapter + 1 < book.ChapterCount() && book.chapters[chapter + 1].position <= book.BookText.size() / 2)
        ++chapter;
    return chapter;
}
