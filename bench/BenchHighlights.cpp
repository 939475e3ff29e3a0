#include "BenchHighlights.h"

#include "core/BookKey.h"
#include "core/BookStore.h"
#include "core/Settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

namespace {

// Short marks, a word or two, as readers make most of theirs.
constexpr qsizetype kLongestMark = 6;

// The planted heading that starts the chapter holding `position` and the one
// after it: the stretch [start, end) of that chapter.
std::pair<qsizetype, qsizetype> ChapterAround(const Novel &novel, qsizetype position)
{
    const auto next =
        std::upper_bound(novel.headings.cbegin(), novel.headings.cend(), position,
                         [](qsizetype at, const PlantedHeading &heading) { return at < heading.position; });
    const qsizetype start = next == novel.headings.cbegin() ? 0 : std::prev(next)->position;
    const qsizetype end = next == novel.headings.cend() ? novel.text.size() : next->position;
    return {start, end};
}

} // namespace

QList<Highlight> BenchHighlights(const Novel &novel)
{
    const auto [start, end] = ChapterAround(novel, novel.text.size() / 2);
    const qsizetype stride = (end - start) / kBenchHighlights;
    const qsizetype length = qBound(qsizetype(1), stride / 2, kLongestMark);
    QList<Highlight> highlights;
    for (int i = 0; i < kBenchHighlights && stride > 0; ++i) {
        const qsizetype at = start + i * stride;
        const QString note = i % 4 == 0 ? QStringLiteral("第%1条笔记").arg(i) : QString();
        highlights.append({at, at + length, novel.text.sliced(at, length),
                           static_cast<HighlightColour>(i % kHighlightColourCount), note, i});
    }
    return highlights;
}

void PutHighlightsInStore(const QString &bookPath, const QList<Highlight> &highlights)
{
    const QFileInfo book(bookPath);
    BookStore store;
    store.Open(BookStorePathFor(SettingsPathFor(QCoreApplication::applicationDirPath())));
    store.PutHighlights(BookKey(book.absolutePath(), book.fileName()), highlights);
}
