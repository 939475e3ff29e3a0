#include "HighlightMeasurement.h"

#include "BenchHighlights.h"
#include "Median.h"
#include "ReaderWindow.h"
#include "app/MainWindow.h"
#include "core/BookStore.h"
#include "session/ReadingSession.h"
#include "ui/VirtualKey.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

// Right-arrow steps onto `chapter`, each from the chapter before it and
// timed with its repaint; the way back is not timed.
QList<double> StepsOnto(ReadingSession &session, int chapter, int steps)
{
    QList<double> times;
    for (int i = 0; i < steps; ++i) {
        session.ShowChapter(chapter - 1);
        QCoreApplication::processEvents();
        times.append(TimeChange([&] { session.OnContentKeyUp(VK_RIGHT, 0); }));
    }
    return times;
}

Measurement MeasureOpenWindow(ReadingSession &session, const QString &fileName, int steps)
{
    const int book = BookRow(session, fileName);
    if (book < 0 || OpenAndTime(session, book) < 0 || MiddleChapter(session.Book()) < 1)
        return {};
    const int chapter = MiddleChapter(session.Book());
    const QList<double> highlighted = StepsOnto(session, chapter, steps);
    const qsizetype shown = session.Highlighted().Shown().size();
    if (session.ShownChapter() != chapter || shown != kBenchHighlights) {
        std::fprintf(stderr, "chapter %d of the book shows %lld highlights, not %d\n", chapter,
                     static_cast<long long>(shown), kBenchHighlights);
        return {};
    }
    // All at once, behind the session's back: the steps that follow show
    // the chapter as it was before any highlight.
    session.Store().PutHighlights(session.Book().RecordKey(), {});
    const QList<double> plain = StepsOnto(session, chapter, steps);
    return {{MeasurementKey::kHighlightedStepMs, Median(highlighted)},
            {MeasurementKey::kHighlightedStepPlainMs, Median(plain)}};
}

} // namespace

Measurement MeasureHighlightedSteps(const QString &bookPath, int steps)
{
    return MeasureInWindow(bookPath, [&](MainWindow &window) {
        return MeasureOpenWindow(window.Session(), QFileInfo(bookPath).fileName(), steps);
    });
}
