#include "ReaderMeasurement.h"

#include "BenchCleanupRules.h"
#include "KeepingMeasurement.h"
#include "Median.h"
#include "ProcessMemory.h"
#include "ReadAloudMeasurement.h"
#include "ReaderWindow.h"
#include "RuleMeasurement.h"
#include "app/MainWindow.h"
#include "core/BookSearch.h"
#include "session/ReadingSession.h"
#include "ui/EditBox.h"
#include "ui/VirtualKey.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <cstdio>
#include <functional>

namespace {

constexpr int kLastChapterJumps = 10;

// Qt's plain editor, with the margins it keeps for itself open to the caller.
class MarginedEditor : public QPlainTextEdit {
public:
    using QPlainTextEdit::setViewportMargins;
};

// The floor of a chapter change: a bare QPlainTextEdit of the pane's size,
// font and line width (its margins), shown on its own, given the same
// chapters in the same order. Returns the median time of the changes to the
// chapters at odd places, each coming from the chapter before it as the
// reader's changes did.
double BareChangeMs(const EditBox &pane, const OpenBook &book, const QList<int> &shown)
{
    MarginedEditor bare;
    bare.setFont(pane.font());
    bare.resize(pane.size());
    bare.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    bare.show();
    QCoreApplication::processEvents();
    const QRect lines = pane.viewport()->geometry();
    const QRect bareLines = bare.viewport()->geometry();
    bare.setViewportMargins(lines.left() - bareLines.left(), lines.top() - bareLines.top(),
                            bareLines.right() - lines.right(), bareLines.bottom() - lines.bottom());
    QCoreApplication::processEvents();
    QList<double> changes;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const double ms = TimeChange([&] { bare.setPlainText(book.ChapterText(shown[i])); });
        if (i % 2 == 1)
            changes.append(ms);
    }
    return Median(changes);
}

struct ReadingTimes {
    double firstLastChapterMs = 0;
    QList<double> lastChapterJumps;
    QList<double> arrowSteps;
    // Each change as the chapter before it and the chapter after, for the floor.
    QList<int> jumps;
    QList<int> steps;
};

// The first jump is also the first page of prose on screen: it pays for
// rasterising the glyphs once. The later jumps, from the middle of the book,
// show the jump itself; then arrowSteps right-arrow steps from the middle.
ReadingTimes MeasureReading(ReadingSession &session, int arrowSteps)
{
    const OpenBook &book = session.Book();
    const int last = book.ChapterCount() - 1;
    const int middle = MiddleChapter(book);
    const auto show = [&](int n) { return [&, n] { session.ShowChapter(n); }; };
    ReadingTimes times;
    times.firstLastChapterMs = TimeChange(show(last));
    for (int i = 0; i < kLastChapterJumps; ++i) {
        TimeChange(show(middle));
        times.lastChapterJumps.append(TimeChange(show(last)));
        times.jumps << middle << last;
    }
    TimeChange(show(middle));
    for (int i = 0; i < arrowSteps; ++i) {
        const int from = session.ShownChapter();
        times.arrowSteps.append(TimeChange([&] { session.OnContentKeyUp(VK_RIGHT, 0); }));
        times.steps << from << session.ShownChapter();
    }
    return times;
}

// Right-arrow steps again with BenchCleanupRules on, shown but not kept.
double CleanedArrowStepMs(ReadingSession &session, int arrowSteps)
{
    session.Cleanup().SetRules(BenchCleanupRules(), false);
    const ReadingTimes times = MeasureReading(session, arrowSteps);
    session.Cleanup().SetRules({}, false);
    return Median(times.arrowSteps);
}

// A two-character term whose Traditional form differs, found everywhere in
// the book (both forms), next to its floor: a plain indexOf loop for the
// term alone. Medians of a few runs each.
Measurement MeasureFind(const QString &text)
{
    constexpr int kRuns = 5;
    const QString term = QStringLiteral("时间");
    QList<double> times, floors;
    qsizetype hits = 0;
    QElapsedTimer timer;
    for (int run = 0; run < kRuns; ++run) {
        timer.start();
        qsizetype plain = 0;
        for (qsizetype at = QStringView(text).indexOf(term); at >= 0; at = QStringView(text).indexOf(term, at + 2))
            ++plain;
        floors.append(MillisecondsOf(timer));
        timer.restart();
        hits = FindEverywhere(text, SearchForms(term)).size();
        times.append(MillisecondsOf(timer));
        if (hits < plain)
            return {};
    }
    return {{MeasurementKey::kFindMs, Median(times)},
            {MeasurementKey::kFindFloorMs, Median(floors)},
            {MeasurementKey::kFindHits, double(hits)}};
}

// The look the benchmark reads in besides the plain pane: spaced lines, page
// margins and a column of 40 characters, paragraphs indented anew.
Typography SetPage()
{
    Typography typography;
    typography.lineSpacing = 2.0;
    typography.paragraphSpacing = 0.5;
    typography.sideMargin = 40;
    typography.topMargin = 24;
    typography.columnCharacters = 40;
    typography.indentation = Indentation::TwoFullWidth;
    typography.blankLines = BlankLines::Collapse;
    return typography;
}

// Setting the page and the plain pane in turn on 10 000 characters of the
// book, each with its repaint; the median. The pane is left set.
double TypographyMs(const OpenBook &book, EditBox &pane)
{
    constexpr int kChanges = 20;
    const qsizetype middle = book.BookText.size() / 2;
    pane.SetText(book.BookText.sliced(middle, qMin<qsizetype>(10000, book.BookText.size() - middle)));
    QCoreApplication::processEvents();
    QList<double> times;
    for (int i = 0; i < kChanges; ++i) {
        const Typography typography = i % 2 == 0 ? SetPage() : Typography{};
        times.append(TimeChange([&] { pane.SetTextTypography(typography); }));
    }
    pane.SetTextTypography(SetPage());
    return Median(times);
}

// Chapter changes again on the set page, next to the bare editor with the
// same font and line width.
Measurement MeasureSetPage(ReadingSession &session, EditBox &pane, int arrowSteps)
{
    const OpenBook &book = session.Book();
    const double typographyMs = TypographyMs(book, pane);
    const ReadingTimes times = MeasureReading(session, arrowSteps);
    return {{MeasurementKey::kTypographyMs, typographyMs},
            {MeasurementKey::kSetLastChapterMs, Median(times.lastChapterJumps)},
            {MeasurementKey::kSetLastChapterFloorMs, BareChangeMs(pane, book, times.jumps)},
            {MeasurementKey::kSetArrowStepMs, Median(times.arrowSteps)},
            {MeasurementKey::kSetArrowStepFloorMs, BareChangeMs(pane, book, times.steps)}};
}

// Everything after start-up, in one window that is already waiting for the user.
Measurement MeasureOpenWindow(ReadingSession &session, const ReaderControls &controls, const QString &fileName,
                              int arrowSteps, int scrollSeconds)
{
    const int book = BookRow(session, fileName);
    if (book < 0)
        return {};
    // Whatever start-up left to paint is done before the idle reading.
    QCoreApplication::processEvents();
    const qint64 idle = CurrentResidentBytes();
    const double firstChapterMs = OpenAndTime(session, book);
    const OpenBook &opened = session.Book();
    EditBox &pane = *controls.编辑框_内容;
    if (opened.ChapterCount() < 2 || pane.Text().isEmpty()) {
        std::fprintf(stderr, "the book opened into %d chapter items and no text\n", opened.ChapterCount());
        return {};
    }
    const ReadingTimes times = MeasureReading(session, arrowSteps);
    const double peak = double(PeakResidentBytes());
    Measurement measurement = MeasureFind(opened.BookText);
    measurement.insert(MeasureChapterRules(opened.BookText));
    measurement.insert(MeasurementKey::kCleanedArrowStepMs, CleanedArrowStepMs(session, arrowSteps));
    measurement.insert(MeasureSetPage(session, pane, arrowSteps));
    measurement.insert(MeasureReadAloudStart(session));
    measurement.insert(MeasureSettingsSave(session.Prefs()));
    if (scrollSeconds > 0) {
        session.ShowChapter(MiddleChapter(opened));
        measurement.insert(MeasureAutoScroll(session, scrollSeconds));
    }
    measurement.insert({{MeasurementKey::kFirstChapterMs, firstChapterMs},
                        {MeasurementKey::kFirstLastChapterMs, times.firstLastChapterMs},
                        {MeasurementKey::kLastChapterMs, Median(times.lastChapterJumps)},
                        {MeasurementKey::kLastChapterFloorMs, BareChangeMs(pane, opened, times.jumps)},
                        {MeasurementKey::kArrowStepMs, Median(times.arrowSteps)},
                        {MeasurementKey::kArrowStepFloorMs, BareChangeMs(pane, opened, times.steps)},
                        {MeasurementKey::kChapterItems, double(opened.ChapterCount())},
                        {MeasurementKey::kIdleBytes, double(idle)},
                        {MeasurementKey::kPeakBytes, peak}});
    return measurement;
}

} // namespace

Measurement MeasureReader(const QString &bookPath, int arrowSteps, int scrollSeconds)
{
    return MeasureInWindow(bookPath, [&](MainWindow &window) {
        return MeasureOpenWindow(window.Session(), window.Controls(), QFileInfo(bookPath).fileName(), arrowSteps,
                                 scrollSeconds);
    });
}
