#include "app/Bookmarks.h"

#include "app/BookPlaces.h"
#include "app/ReaderState.h"
#include "reader/ChapterNavigation.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ListWindow.h"
#include "ui/ReaderControls.h"

#include <QDateTime>
#include <algorithm>

namespace {

constexpr qsizetype kLabelLength = 30;

// The open book's bookmarks in book order.
QList<Bookmark> BookmarksInOrder(ReaderState &state)
{
    const std::optional<BookRecord> record = state.store.Find(state.book.fileName);
    QList<Bookmark> bookmarks = record ? record->bookmarks : QList<Bookmark>();
    std::stable_sort(bookmarks.begin(), bookmarks.end(),
                     [](const Bookmark &a, const Bookmark &b) { return a.position < b.position; });
    return bookmarks;
}

void ReplaceBookmarks(ReaderState &state, const QList<Bookmark> &bookmarks)
{
    state.store.Update(state.book.fileName, [&](BookRecord &record) { record.bookmarks = bookmarks; });
}

// The line that starts there, its first characters, blanks at its start left out.
QString LabelAt(const QString &text, qsizetype position)
{
    qsizetype end = position;
    while (end < text.size() && end - position < kLabelLength * 4 && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    return QStringView(text).sliced(position, end - position).trimmed().left(kLabelLength).toString();
}

void ListBookmarks(ReaderState &state, const ReaderControls &controls)
{
    QStringList lines;
    for (const Bookmark &bookmark : BookmarksInOrder(state))
        lines.append(
            QStringLiteral("%1　%2　%3")
                .arg(bookmark.label, bookmark.chapterTitle,
                     QDateTime::fromMSecsSinceEpoch(bookmark.created).toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    controls.bookmarksWindow->SetItems(lines, QStringLiteral("%1 个书签").arg(lines.size()));
}

} // namespace

void OnAddBookmark(ReaderState &state, const ReaderControls &controls)
{
    const OpenBook &book = state.book;
    const int chapter = controls.列表框_章节->Selection();
    const std::optional<TextRange> range = book.ChapterRange(chapter);
    if (book.fileName.isEmpty() || !range)
        return;
    SaveShownPlace(state, controls);
    const qsizetype position = qMin(range->start + controls.编辑框_内容->FirstVisibleTextPosition(), range->end);
    QList<Bookmark> bookmarks = BookmarksInOrder(state);
    bookmarks.append(
        {position, book.ChapterTitle(chapter), LabelAt(book.BookText, position), QDateTime::currentMSecsSinceEpoch()});
    ReplaceBookmarks(state, bookmarks);
    if (controls.bookmarksWindow->isVisible())
        ListBookmarks(state, controls);
}

void OnShowBookmarks(ReaderState &state, const ReaderControls &controls)
{
    ListBookmarks(state, controls);
    controls.bookmarksWindow->ShowInFront();
}

void OnBookmarkPicked(ReaderState &state, const ReaderControls &controls, int index)
{
    const QList<Bookmark> bookmarks = BookmarksInOrder(state);
    if (index < 0 || index >= bookmarks.size())
        return;
    const Bookmark &bookmark = bookmarks[index];
    const OpenBook &book = state.book;
    const bool inText = bookmark.position < book.BookText.size();
    const int byTitle = qMax(0, book.FindChapter(bookmark.chapterTitle, 0));
    const int chapter = inText ? book.ChapterAt(bookmark.position) : byTitle;
    ShowChapter(book, *controls.列表框_章节, *controls.编辑框_内容, chapter);
    const std::optional<TextRange> range = book.ChapterRange(chapter);
    if (inText && range)
        controls.编辑框_内容->ScrollToTextPosition(bookmark.position - range->start);
}

void OnBookmarkDeleted(ReaderState &state, const ReaderControls &controls, int index)
{
    QList<Bookmark> bookmarks = BookmarksInOrder(state);
    if (index < 0 || index >= bookmarks.size())
        return;
    bookmarks.removeAt(index);
    ReplaceBookmarks(state, bookmarks);
    ListBookmarks(state, controls);
}
