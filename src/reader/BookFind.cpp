#include "reader/BookFind.h"

#include "core/OpenBook.h"

namespace {

// Characters shown on either side of an occurrence in the list.
constexpr qsizetype kContext = 10;

} // namespace

QList<SearchHit> FindInBookText(const OpenBook &book, const QString &term)
{
    if (term.isEmpty())
        return {};
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
