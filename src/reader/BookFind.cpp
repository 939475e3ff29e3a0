#include "reader/BookFind.h"

#include "core/OpenBook.h"

namespace {

// Characters shown on either side of an occurrence in the list.
constexpr qsizetype kContext = 10;

// Each chapter as the rules show it, searched there, each hit taken back to
// the stretch of the book's own text it shows: what the rules removed is not
// found, what they put in is.
QList<SearchHit> FindInCleanedText(const OpenBook &book, const QStringList &forms)
{
    QList<SearchHit> hits;
    for (int n = 0; n < book.ChapterCount(); ++n) {
        const std::optional<TextRange> range = book.ChapterRange(n);
        const CleanedText shown = book.cleaner.Clean(book.ChapterText(n), CleanupRule::Content);
        for (const SearchHit &hit : FindEverywhere(shown.Shown(), forms)) {
            const qsizetype start = shown.TextPosition(hit.position);
            const qsizetype end = qMax(start, shown.TextPosition(hit.position + hit.length - 1)) + 1;
            hits.append({range->start + start, end - start});
        }
    }
    return hits;
}

} // namespace

QList<SearchHit> FindInBookText(const OpenBook &book, const QString &term)
{
    if (term.isEmpty())
        return {};
    if (book.cleaner.Cleans(CleanupRule::Content))
        return FindInCleanedText(book, SearchForms(term));
    return FindEverywhere(book.BookText, SearchForms(term));
}

QStringList HitLines(const OpenBook &book, const QList<SearchHit> &hits)
{
    QStringList lines;
    for (qsizetype i = 0; i < qMin(hits.size(), kListedHits); ++i)
        lines.append(book.ChapterTitle(book.ChapterAt(hits[i].position)) + QStringLiteral("　…")
                     + HitContext(book.BookText, hits[i], kContext) + QStringLiteral("…"));
    return lines;
}

QString HitSummary(qsizetype found)
{
    if (found <= kListedHits)
        return QStringLiteral("找到 %1 处").arg(found);
    return QStringLiteral("找到 %1 处，列出前 %2 处，其余 %3 处未列出")
        .arg(found)
        .arg(kListedHits)
        .arg(found - kListedHits);
}

qsizetype NextHit(const FindState &find, int direction)
{
    const qsizetype count = find.hits.size();
    if (count == 0)
        return -1;
    if (find.shown < 0)
        return direction > 0 ? 0 : count - 1;
    return (find.shown + direction + count) % count;
}
