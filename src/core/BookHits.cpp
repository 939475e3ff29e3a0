#include "core/BookHits.h"

#include "core/OpenBook.h"

namespace {

// Characters shown on either side of an occurrence: enough to recognise the
// place on a line of the results.
constexpr qsizetype kContext = 15;

BookHit ListedHit(const OpenBook &book, const SearchHit &hit)
{
    BookHit listed;
    listed.chapter = book.ChapterAt(hit.position);
    const std::optional<TextRange> range = book.ChapterRange(listed.chapter);
    listed.position = hit.position - (range ? range->start : 0);
    listed.length = hit.length;
    listed.title = book.ChapterTitle(listed.chapter);
    listed.context = HitContext(book.BookText, hit, kContext);
    return listed;
}

} // namespace

BookHits FindInWholeBook(const OpenBook &book, const QStringList &forms, qsizetype most)
{
    const QList<SearchHit> hits = FindEverywhere(book.BookText, forms);
    BookHits found;
    found.found = hits.size();
    for (qsizetype i = 0; i < qMin(hits.size(), most); ++i)
        found.listed.append(ListedHit(book, hits[i]));
    return found;
}
