#include "ReaderMeasurement.h"

#include "BookLoader.h"
#include "ChapterNavigation.h"
#include "EditBox.h"
#include "ListBox.h"
#include "MainWindow.h"
#include "Median.h"
#include "ProcessMemory.h"
#include "ReaderState.h"
#include "Settings.h"
#include "VirtualKey.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

constexpr int kStartUpTimeoutMs = 60000;
constexpr int kLastChapterJumps = 10;

double MillisecondsOf(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

bool WaitForStartUp(const ReaderState &state)
{
    const QDeadlineTimer deadline(kStartUpTimeoutMs);
    while (!state.startedUp && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return state.startedUp;
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
int MiddleChapter(const ListBox &chapters, qsizetype textSize)
{
    int chapter = 0;
    while (chapter + 1 < chapters.Count() && chapters.ItemPosition(chapter + 1) <= textSize / 2)
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
    OpenBookAt(state.shelf, controls, book);
    const double firstChapterMs = MillisecondsOf(timer);

    const ListBox &chapters = *controls.列表框_章节;
    const int count = chapters.Count();
    if (count < 2 || controls.编辑框_内容->Text().isEmpty()) {
        std::fprintf(stderr, "the book opened into %d chapter items and no text\n", count);
        return {};
    }
    const int middle = MiddleChapter(chapters, state.shelf.BookText.size());
    // The first jump is also the first page of prose on screen: it pays for
    // rasterising the glyphs once. The later jumps show the jump itself.
    timer.restart();
    ShowChapter(state.shelf.BookText, controls, count - 1);
    const double firstLastChapterMs = MillisecondsOf(timer);
    QList<double> jumps;
    for (int i = 0; i < kLastChapterJumps; ++i) {
        ShowChapter(state.shelf.BookText, controls, middle);
        timer.restart();
        ShowChapter(state.shelf.BookText, controls, count - 1);
        jumps.append(MillisecondsOf(timer));
    }

    ShowChapter(state.shelf.BookText, controls, middle);
    QList<double> steps;
    for (int i = 0; i < arrowSteps; ++i) {
        timer.restart();
        OnContentKeyUp(state.shelf.BookText, controls, VK_RIGHT, 0);
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
    WriteSetting(settingsPath, Setting::BookDirectory, book.absolutePath() + QLatin1Char('/'));
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
