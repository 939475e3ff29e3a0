#include "session/Bookmarks.h"

#include "core/BookStore.h"
#include "session/ReadingSession.h"

#include <QDateTime>
#include <algorithm>

namespace {

constexpr qsizetype kLabelLength = 30;

// The open book's bookmarks in book order.
QList<Bookmark> BookmarksInOrder(const ReadingSession &session)
{
    const std::optional<BookRecord> record = session.Store().Find(session.Book().RecordKey());
    QList<Bookmark> bookmarks = record ? record->bookmarks : QList<Bookmark>();
    std::stable_sort(bookmarks.begin(), bookmarks.end(),
                     [](const Bookmark &a, const Bookmark &b) { return a.position < b.position; });
    return bookmarks;
}

void ReplaceBookmarks(const ReadingSession &session, const QList<Bookmark> &bookmarks)
{
    session.Store().Update(session.Book().RecordKey(), [&](BookRecord &record) { record.bookmarks = bookmarks; });
}

// The line that starts there, its first characters, blanks at its start left out.
QString LabelAt(const QString &text, qsizetype position)
{
    qsizetype end = position;
    while (end < text.size() && end - position < kLabelLength * 4 && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    return QStringView(text).sliced(position, end - position).trimmed().left(kLabelLength).toString();
}

} // namespace

Bookmarks::Bookmarks(ReadingSession &session) : session_(session) {}

void Bookmarks::List()
{
    const ReadingSession &session = session_;
    QStringList lines;
    for (const Bookmark &bookmark : BookmarksInOrder(session))
        lines.append(
            QStringLiteral("%1　%2　%3")
                .arg(bookmark.label, bookmark.chapterTitle,
                     QDateTime::fromMSecsSinceEpoch(bookmark.created).toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    Q_EMIT listChanged(lines, QStringLiteral("%1 个书签").arg(lines.size()));
}

void Bookmarks::Add()
{
    ReadingSession &session = session_;
    if (session.DeferredForBook([this] { Add(); }))
        return;
    const OpenBook &book = session.Book();
    const int chapter = session.ShownChapter();
    const std::optional<TextRange> range = book.ChapterRange(chapter);
    if (!session.HasBook() || !range)
        return;
    session.SaveShownPlace();
    const qsizetype position = qMin(range->start + session.TopPosition(), range->end);
    QList<Bookmark> bookmarks = BookmarksInOrder(session);
    bookmarks.append(
        {position, book.ChapterTitle(chapter), LabelAt(book.BookText, position), QDateTime::currentMSecsSinceEpoch()});
    ReplaceBookmarks(session, bookmarks);
    List();
}

void Bookmarks::OnPicked(int index)
{
    ReadingSession &session = session_;
    const QList<Bookmark> bookmarks = BookmarksInOrder(session);
    if (index < 0 || index >= bookmarks.size())
        return;
    const Bookmark &bookmark = bookmarks[index];
    const OpenBook &book = session.Book();
    const bool inText = bookmark.position < book.BookText.size();
    const int byTitle = qMax(0, book.FindChapter(bookmark.chapterTitle, 0));
    const int chapter = inText ? book.ChapterAt(bookmark.position) : byTitle;
    session.Jumps().NoteJumpFromHere();
    session.ShowChapter(chapter);
    const std::optional<TextRange> range = book.ChapterRange(chapter);
    if (inText && range)
        session.ScrollTo(bookmark.position - range->start);
}

void Bookmarks::OnDeleted(int index)
{
    QList<Bookmark> bookmarks = BookmarksInOrder(session_);
    if (index < 0 || index >= bookmarks.size())
        return;
    bookmarks.removeAt(index);
    ReplaceBookmarks(session_, bookmarks);
    List();
}
