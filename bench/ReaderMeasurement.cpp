#include "ReaderMeasurement.h"

#include "Median.h"
#include "ProcessMemory.h"
#include "app/MainWindow.h"
#include "app/ReaderState.h"
#include "app/Settings.h"
#include "reader/ChapterNavigation.h"
#include "shelf/BookLoader.h"
#include "support/WaitForStartUp.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/VirtualKey.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

constexpr int kLastChapterJumps = 10;

double MillisecondsOf(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

int IndexOfBook(const ListBox &books, const QString &fileName)
{
    for (int i = 0; i < books.Count(); ++i) {
        if (books.ItemText(i) == fileName)
            return i;
    }
    return -1;
}

// The chapter that holds the middle of the text. A table of contents makes
// the first half of the items one-line chapters, so the middle item would not do.
int MiddleChapter(const OpenBook &book)
{
    int chapter = 0;
    while (chapter + 1 < book.ChapterCount() && book.chapters[chapter + 1].position <= book.BookText.size() / 2)
        ++chapter;
    return chapter;
}

// Everything after start-up, in one window that is already waiting for the user.
Measurement MeasureOpenWindow(ReaderState &state, const ReaderControls &controls, const QString &fileName,
                              int arrowSteps)
{
    const int book = IndexOfBook(*controls.列表框_文件, fileName);
    if (book < 0) {
        std::fprintf(stderr, "the book list does not hold %s\n", qPrintable(fileName));
        return {};
    }
    // Whatever start-up left to paint is done before the idle reading.
    QCoreApplication::processEvents();
    const qint64 idle = CurrentResidentBytes();

    QElapsedTimer timer;
    timer.start();
    OpenBookAt(state.shelf, state.book, *controls.列表框_文件, *controls.标签_状态显示, book);
    const double firstChapterMs = MillisecondsOf(timer);

    ListBox &chapters = *controls.列表框_章节;
    EditBox &pane = *controls.编辑框_内容;
    const int count = chapters.Count();
    if (count < 2 || controls.编辑框_内容->Text().isEmpty()) {
        std::fprintf(stderr, "the book opened into %d chapter items and no text\n", count);
        return {};
    }
    const int middle = MiddleChapter(state.book);
    // The first jump is also the first page of prose on screen: it pays for
    // rasterising the glyphs once. The later jumps show the jump itself.
    timer.restart();
    ShowChapter(state.book, chapters, pane, count - 1);
    const double firstLastChapterMs = MillisecondsOf(timer);
    QList<double> jumps;
    for (int i = 0; i < kLastChapterJumps; ++i) {
        ShowChapter(state.book, chapters, pane, middle);
        timer.restart();
        ShowChapter(state.book, chapters, pane, count - 1);
        jumps.append(MillisecondsOf(timer));
    }

    ShowChapter(state.book, chapters, pane, middle);
    QList<double> steps;
    for (int i = 0; i < arrowSteps; ++i) {
        timer.restart();
        OnContentKeyUp(state.book, chapters, pane, VK_RIGHT, 0);
        steps.append(MillisecondsOf(timer));
    }
    return {{MeasurementKey::FirstChapterMs, firstChapterMs},
            {MeasurementKey::FirstLastChapterMs, firstLastChapterMs},
            {MeasurementKey::LastChapterMs, Median(jumps)},
            {MeasurementKey::ArrowStepMs, Median(steps)},
            {MeasurementKey::ChapterItems, double(count)},
            {MeasurementKey::IdleBytes, double(idle)},
            {MeasurementKey::PeakBytes, double(PeakResidentBytes())}};
}

} // namespace

Measurement MeasureReader(const QString &bookPath, int arrowSteps)
{
    const QFileInfo book(bookPath);
    const QString settingsPath = SettingsPathFor(QCoreApplication::applicationDirPath());
    QFile::remove(settingsPath);
    RememberedSettings settings;
    settings.bookDirectory = book.absolutePath() + QLatin1Char('/');
    SaveSettings(settingsPath, settings);
    Measurement measurement;
    {
        // Destroyed without being closed: shutdown would write the settings.
        ReaderState state;
        MainWindow window(state);
        if (WaitForStartUp(state))
            measurement = MeasureOpenWindow(state, window.Controls(), book.fileName(), arrowSteps);
        else
            std::fprintf(stderr, "start-up did not finish\n");
    }
    QFile::remove(settingsPath);
    return measurement;
}
