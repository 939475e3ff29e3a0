#include "session/FindInBook.h"

#include "core/OpenBook.h"
#include "session/ReadingSession.h"

FindInBook::FindInBook(ReadingSession &session) : session_(session) {}

void FindInBook::OnSearch(const QString &term)
{
    if (term.isEmpty() || session_.DeferredForBook([this, term] { OnSearch(term); }))
        return;
    find_.hits = FindInBookText(session_.Book(), term);
    find_.shown = -1;
    Q_EMIT resultsChanged(HitLines(session_.Book(), find_.hits), HitSummary(find_.hits.size()));
}

void FindInBook::OnHitPicked(int index)
{
    if (index >= 0 && index < find_.hits.size())
        ShowHit(index);
}

void FindInBook::OnFindAgain(int direction)
{
    if (find_.hits.isEmpty()) {
        Q_EMIT windowAsked();
        return;
    }
    ShowHit(NextHit(find_, direction));
}

void FindInBook::Clear()
{
    find_ = FindState();
    Q_EMIT resultsChanged({}, QString());
}

void FindInBook::ShowHit(qsizetype index)
{
    const OpenBook &book = session_.Book();
    const SearchHit hit = find_.hits.at(index);
    const int chapter = book.ChapterAt(hit.position);
    session_.Jumps().NoteJumpFromHere();
    if (chapter != session_.ShownChapter())
        session_.ShowChapter(chapter);
    const std::optional<TextRange> range = book.ChapterRange(chapter);
    if (!range || session_.ShownChapter() != chapter)
        return;
    session_.SelectText(hit.position - range->start, hit.length);
    find_.shown = index;
}
