#include "reader/BookFind.h"

#include "core/OpenBook.h"
#include "reader/ChapterNavigation.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ListWindow.h"

#include <QStringList>

namespace {

// Characters shown on either side of an occurrence in the list.
constexpr qsizetype kContext = 10;

QString HitLine(const OpenBook &book, const SearchHit &hit)
{
    return book.ChapterTitle(book.ChapterAt(hit.position)) + QStringLiteral("　…")
        + HitContext(book.BookText, hit, kContext) + QStringLiteral("…");
}

QString Summary(qsizetype found)
{
    if (found <= kListedHits)
        return QStringLiteral("找到 %1 处").arg(found);
    return QStringLiteral("找到 %1 处，列出前 %2 处，其余 %3 处未列出")
        .arg(found)
        .arg(kListedHits)
        .arg(found - kListedHits);
}

void ShowHit(const OpenBook &book, FindState &find, ListBox &chapterList, EditBox &pane, qsizetype index)
{
    const SearchHit hit = find.hits.at(index);
    const int chapter = book.ChapterAt(hit.position);
    if (chapter != chapterList.Selection())
        ShowChapter(book, chapterList, pane, chapter);
    const std::optional<TextRange> range = book.ChapterRange(chapter);
    if (!range || chapterList.Selection() != chapter)
        return;
    pane.SelectText(hit.position - range->start, hit.length);
    find.shown = index;
}

} // namespace

void OnFind(ListWindow &findWindow)
{
    findWindow.ShowInFront();
}

void OnSearch(const OpenBook &book, FindState &find, ListWindow &findWindow, const QString &term)
{
    if (term.isEmpty())
        return;
    find.hits = FindEverywhere(book.BookText, SearchForms(term));
    find.shown = -1;
    QStringList lines;
    for (qsizetype i = 0; i < qMin(find.hits.size(), kListedHits); ++i)
        lines.append(HitLine(book, find.hits[i]));
    findWindow.SetItems(lines, Summary(find.hits.size()));
}

void OnHitPicked(const OpenBook &book, FindState &find, ListBox &chapterList, EditBox &pane, int index)
{
    if (index >= 0 && index < find.hits.size())
        ShowHit(book, find, chapterList, pane, index);
}

void OnFindAgain(const OpenBook &book, FindState &find, ListWindow &findWindow, ListBox &chapterList, EditBox &pane,
                 int direction)
{
    if (find.hits.isEmpty()) {
        OnFind(findWindow);
        return;
    }
    const qsizetype count = find.hits.size();
    const qsizetype next = find.shown < 0 ? (direction > 0 ? 0 : count - 1) : (find.shown + direction + count) % count;
    ShowHit(book, find, chapterList, pane, next);
}

void ClearFind(FindState &find, ListWindow &findWindow)
{
    find = FindState();
    findWindow.SetItems({}, QString());
}
